// The picture a project belongs to. The parameters file is named after the map cut at its first
// ".", so "x.bmp" and "x.jpg" share "x.vlp". The file then records its picture in a section of
// its own, "[IMAGE]" ahead of "[CHEMIN]" (where a reader of the 22 sections ignores every line),
// but only where a file of the 22 sections could not tell: for a map that is not a BMP (the
// 22 sections were made for BMP maps), and for a BMP other than "x.bmp" when "x.bmp" lies beside
// it. Every other project saves byte for byte as it always did.
#pragma once

#include "state/etat.h"

#include <QByteArrayView>
#include <QString>

// "x.vlp" -> "x.bmp".
QString imagepardefaut(const QString& fichierparam);
// Picture names compare without regard to case, as the ".bmp" of a default one may be written.
bool memeimage(const QString& a, const QString& b);
// The picture the project of `e` records in its file: empty when it records none.
QString imagenotee(const Etat& e);

// Whom a parameters file belongs to, as far as it says.
struct Appartenance {
    bool lisible = false; // the file could be read
    QString image;        // the picture's name; empty when only "a BMP map" is known
    // Whether it is a picture other than `fichiercarte`.
    bool autre(const QString& fichiercarte) const;
};
// The "[IMAGE]" line ahead of the first key; without it, "x.bmp" when `dossier` holds it, else
// some BMP map of that name.
Appartenance imageduprojet(QByteArrayView octets, const QString& fichierparam,
                           const QString& dossier);
// The same for the project file of `e` (dossiercarte + fichierparam).
Appartenance imagedufichier(const Etat& e);
