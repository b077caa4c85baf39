// Text routines of the time line: fields, integers and the "ss:ii" time text.
#include "timeline/temps.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <limits>

QString champ(const QString& texte, int n, QChar sep) {
    QString champ;
    int numero = 1;
    for (const QChar c : texte) {
        if (c == sep)
            ++numero;
        else if (numero == n)
            champ += c;
    }
    return champ;
}

std::optional<int> entier(const QString& texte) {
    const qsizetype debut = (texte.startsWith(u'-') || texte.startsWith(u'+')) ? 1 : 0;
    if (texte.size() == debut) return std::nullopt;
    for (qsizetype i = debut; i < texte.size(); ++i)
        if (texte[i] < u'0' || texte[i] > u'9') return std::nullopt;
    bool ok = false;
    const int valeur = texte.toInt(&ok); // fails only on overflow now
    if (!ok) return std::nullopt;
    return valeur;
}

QString erreurentier(const QString& texte) {
    return QStringLiteral("'%1' n'est pas une valeur entière correcte").arg(texte);
}

std::optional<int> tempsversimg(const Etat& e, const QString& t) {
    return tempsversimg(e.ips, t);
}

std::optional<int> tempsversimg(int ips, const QString& t) {
    const auto secondes = entier(champ(t, 1, u':'));
    const auto images = entier(champ(t, 2, u':'));
    if (!secondes || !images) return std::nullopt;
    const std::int64_t n = std::int64_t{*secondes} * ips + *images;
    if (n < std::numeric_limits<int>::min() || n > std::numeric_limits<int>::max())
        return std::nullopt;
    return static_cast<int>(n);
}

QString imgverstemps(const Etat& e, int n) {
    // A blank state has no rate yet; reading it as one frame a second avoids dividing by zero.
    const int ips = std::max(e.ips, 1);
    // Two digits at least, every digit kept: cut to their last two, the seconds of a film past
    // 99 seconds would read the same for frames 100 seconds apart, and a keyframe saved there
    // would come back 100 seconds early.
    const auto chiffres = [](int v) { return QString::number(v).rightJustified(2, u'0'); };
    return chiffres(n / ips) + u':' + chiffres(n % ips);
}

QString lignelistbox1(const Etat& e, int c) {
    if (c < 0 || c >= MAXIMG) return {};
    // Built by hand: the table has up to 2901 rows and is rebuilt at every keyframe change.
    char ligne[64];
    const int n = std::snprintf(ligne, sizeof ligne, "%d %d %d  %d", c, e.imgdecx[c], e.imgdecy[c],
                                e.imgavance[c]);
    return QString::fromLatin1(ligne, std::clamp(n, 0, static_cast<int>(sizeof ligne) - 1));
}
