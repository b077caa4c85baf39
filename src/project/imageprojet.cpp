#include "project/imageprojet.h"

#include "project/ansi.h"
#include "project/parametres.h"
#include "project/sections.h"

#include <QFile>
#include <QFileInfo>

namespace {

const QLatin1StringView IMAGE("[IMAGE]");

bool estcle(const QString& ligne) {
    for (const QLatin1StringView c : CLES)
        if (ligne.compare(c, Qt::CaseInsensitive) == 0) return true;
    return ligne.compare(IMAGE, Qt::CaseInsensitive) == 0;
}

bool estbmp(const QString& nom) {
    return nom.endsWith(QLatin1String(".bmp"), Qt::CaseInsensitive);
}

} // namespace

QString imagepardefaut(const QString& fichierparam) {
    QString base = fichierparam;
    if (base.endsWith(QLatin1String(".vlp"), Qt::CaseInsensitive)) base.chop(4);
    return base + QStringLiteral(".bmp");
}

bool memeimage(const QString& a, const QString& b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

QString imagenotee(const Etat& e) {
    const QString& carte = e.fichiercarte;
    if (carte.isEmpty()) return {};
    const QString defaut = imagepardefaut(e.fichierparam);
    const bool note =
        !estbmp(carte) || (!memeimage(carte, defaut) && QFileInfo::exists(e.dossiercarte + defaut));
    // A name that reads as a key would cut the file; such a picture is not recorded.
    if (!note || estcle(carte)) return {};
    return carte;
}

bool Appartenance::autre(const QString& fichiercarte) const {
    if (!lisible) return false;
    if (image.isEmpty()) return !estbmp(fichiercarte);
    return !memeimage(image, fichiercarte);
}

Appartenance imageduprojet(QByteArrayView octets, const QString& fichierparam,
                           const QString& dossier) {
    Appartenance a;
    a.lisible = true;
    bool suivante = false;
    qsizetype debut = 0;
    while (debut < octets.size()) {
        qsizetype fin = debut;
        while (fin < octets.size() && octets[fin] != '\n')
            ++fin;
        QByteArrayView l = octets.sliced(debut, fin - debut);
        if (l.endsWith('\r')) l.chop(1);
        debut = fin + 1;
        const QString ligne = depuisansi(l);
        if (suivante) {
            if (!ligne.isEmpty() && !estcle(ligne)) {
                a.image = ligne;
                return a;
            }
            break;
        }
        if (ligne.compare(IMAGE, Qt::CaseInsensitive) == 0)
            suivante = true;
        else if (estcle(ligne))
            break; // the 22 sections have begun
    }
    const QString defaut = imagepardefaut(fichierparam);
    if (QFileInfo::exists(dossier + defaut)) a.image = defaut;
    return a;
}

Appartenance imagedufichier(const Etat& e) {
    QFile f(cheminparametres(e));
    if (!f.open(QIODevice::ReadOnly)) return {};
    // The section stands at the head of the file: its first lines are enough.
    return imageduprojet(f.read(2 * MAXLIGNE), e.fichierparam, e.dossiercarte);
}
