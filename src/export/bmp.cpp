#include "export/bmp.h"

#include "map/fichier.h"
#include "state/etat.h"
#include "timeline/temps.h"

#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>
#include <cstdint>

namespace {

constexpr int ENTETES = 14 + 40; // file header + information header

void met16(char*& p, std::uint16_t v) {
    *p++ = static_cast<char>(v & 0xff);
    *p++ = static_cast<char>(v >> 8);
}

void met32(char*& p, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        *p++ = static_cast<char>((v >> (8 * i)) & 0xff);
}

// The folder part of a path, separator included ("" for a bare name).
QString dossier(const QString& chemin) {
    return chemin.left(chemin.lastIndexOf(u'/') + 1);
}

QString nomfichier(const QString& chemin) {
    return chemin.mid(chemin.lastIndexOf(u'/') + 1);
}

// The reason is the system's error of the failing call when it tells one, else what the folder
// and its disk say.
QString echec(const QString& chemin, int erreur, qint64 taille) {
    return traduit(836, QStringLiteral("Impossible d'écrire le fichier « %1 » : %2."))
        .arg(chemin, raisonecriture(chemin, erreur, taille));
}

} // namespace

QByteArray octetsbmp(const QImage& source) {
    const QImage img = source.format() == QImage::Format_RGB32
                           ? source
                           : source.convertToFormat(QImage::Format_RGB32);
    const int l = img.width(), h = img.height();
    const int ligne = (l * 3 + 3) & ~3;
    const std::uint32_t pixels = static_cast<std::uint32_t>(ligne) * static_cast<std::uint32_t>(h);
    QByteArray o(ENTETES + static_cast<qsizetype>(pixels), '\0');
    char* p = o.data();
    // BITMAPFILEHEADER
    *p++ = 'B';
    *p++ = 'M';
    met32(p, ENTETES + pixels);
    met32(p, 0); // two reserved words
    met32(p, ENTETES);
    // BITMAPINFOHEADER: positive height = bottom-up rows, 24 bits, BI_RGB, no palette.
    met32(p, 40);
    met32(p, static_cast<std::uint32_t>(l));
    met32(p, static_cast<std::uint32_t>(h));
    met16(p, 1);
    met16(p, 24);
    met32(p, 0);
    met32(p, pixels);
    met32(p, 0); // no preferred resolution
    met32(p, 0);
    met32(p, 0);
    met32(p, 0);
    for (int y = h - 1; y >= 0; --y) {
        const QRgb* de = reinterpret_cast<const QRgb*>(img.constScanLine(y));
        char* vers = p;
        for (int x = 0; x < l; ++x) {
            *vers++ = static_cast<char>(qBlue(de[x]));
            *vers++ = static_cast<char>(qGreen(de[x]));
            *vers++ = static_cast<char>(qRed(de[x]));
        }
        p += ligne; // the padding stays zero
    }
    return o;
}

std::optional<QString> ecritbmp(const Surface& s, const QString& chemin) {
    const QByteArray octets = octetsbmp(s.image());
    const qint64 taille = octets.size();
    // A device or a pipe (say /dev/full) cannot be replaced by renaming a temporary file over it:
    // it is written in place; every ordinary file goes through QSaveFile.
    const QFileInfo info(chemin);
    errno = 0;
    if (info.exists() && !info.isFile() && !info.isDir()) {
        QFile f(chemin);
        if (!f.open(QIODevice::WriteOnly)) return echec(chemin, errno, taille);
        if (f.write(octets) != octets.size() || !f.flush()) return echec(chemin, errno, taille);
        return std::nullopt;
    }
    QSaveFile f(chemin);
    if (!f.open(QIODevice::WriteOnly)) return echec(chemin, errno, taille);
    if (f.write(octets) != octets.size()) {
        const int erreur = errno;
        f.cancelWriting();
        return echec(chemin, erreur, taille);
    }
    if (!confirme(f)) return echec(chemin, errno, taille);
    return std::nullopt;
}

std::optional<QString> prefixesuite(const QString& chemin) {
    const QString base = champ(nomfichier(chemin), 1, u'.').left(4);
    if (base.isEmpty()) return std::nullopt;
    return dossier(chemin) + base;
}

QString fichiersuite(const QString& prefixe, int n) {
    return prefixe + QStringLiteral("%1.bmp").arg(n, 4, 10, QLatin1Char('0'));
}

std::optional<QString> fichierbmp(const QString& chemin) {
    const QString nom = nomfichier(chemin);
    if (nom.isEmpty()) return std::nullopt;
    return dossier(chemin) + champ(nom, 1, u'.') + QStringLiteral(".bmp");
}

QString fichiervideo(const QString& chemin) {
    QString nom = nomfichier(chemin).toLower();
    if (!nom.endsWith(QLatin1String(".avi"))) nom += QStringLiteral(".avi");
    return dossier(chemin) + nom;
}
