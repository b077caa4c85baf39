#include "map/image.h"

#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QtEndian>

#include <algorithm>

namespace {

QString nomfichier(const QString& chemin) {
    const QString nom = QFileInfo(chemin).fileName();
    return nom.isEmpty() ? chemin : nom;
}

// Qt's bitmap reader accepts a file cut short and leaves the missing rows undefined, so the
// length the header promises is checked here. Only uncompressed layouts have a known length.
bool bmptronque(const QString& chemin) {
    QFile f(chemin);
    if (!f.open(QIODevice::ReadOnly)) return false;
    const QByteArray t = f.read(54);
    if (t.size() < 26 || !t.startsWith("BM")) return false;
    const auto* o = reinterpret_cast<const uchar*>(t.constData());
    const quint32 debut = qFromLittleEndian<quint32>(o + 10);
    const quint32 entete = qFromLittleEndian<quint32>(o + 14);
    qint64 largeur = 0, hauteur = 0;
    quint32 bits = 0, compression = 0;
    if (entete == 12) {
        largeur = qFromLittleEndian<quint16>(o + 18);
        hauteur = qFromLittleEndian<quint16>(o + 20);
        bits = qFromLittleEndian<quint16>(o + 24);
    } else if (entete >= 40 && t.size() >= 34) {
        largeur = qFromLittleEndian<qint32>(o + 18);
        hauteur = std::abs(static_cast<qint64>(qFromLittleEndian<qint32>(o + 22)));
        bits = qFromLittleEndian<quint16>(o + 28);
        compression = qFromLittleEndian<quint32>(o + 30);
    } else {
        return false;
    }
    constexpr quint32 BI_RGB = 0, BI_BITFIELDS = 3, BI_ALPHABITFIELDS = 6;
    if (compression != BI_RGB && compression != BI_BITFIELDS && compression != BI_ALPHABITFIELDS)
        return false;
    const qint64 ligne = (largeur * bits + 31) / 32 * 4;
    return f.size() < static_cast<qint64>(debut) + ligne * hauteur;
}

} // namespace

bool chargeimage(const QString& chemin, Surface& dest, QString& erreur) {
    QImageReader lecteur(chemin);
    lecteur.setAutoTransform(false);
    const QSize taille = lecteur.size();
    if (!taille.isValid() || taille.isEmpty()) {
        erreur = QStringLiteral("Le fichier « %1 » n'est pas une image lisible (%2).")
                     .arg(nomfichier(chemin), lecteur.errorString());
        return false;
    }
    const long long pixels = static_cast<long long>(taille.width()) * taille.height();
    if (pixels > MAXPIXELS) {
        erreur = QStringLiteral("L'image « %1 » est trop grande : %2 × %3 pixels, "
                                "%4 millions de pixels au plus.")
                     .arg(nomfichier(chemin))
                     .arg(taille.width())
                     .arg(taille.height())
                     .arg(MAXPIXELS / 1'000'000);
        return false;
    }
    if (lecteur.format() == "bmp" && bmptronque(chemin)) {
        erreur = QStringLiteral("Impossible de lire l'image « %1 » : le fichier est tronqué.")
                     .arg(nomfichier(chemin));
        return false;
    }
    // The reader's own limit is far below ours; the size was checked above (4 bytes a pixel, plus
    // room for a conversion).
    lecteur.setAllocationLimit(static_cast<int>(MAXPIXELS * 4 / (1024 * 1024) + 64));
    QImage img = lecteur.read();
    if (img.isNull()) {
        erreur = QStringLiteral("Impossible de lire l'image « %1 » : %2.")
                     .arg(nomfichier(chemin), lecteur.errorString());
        return false;
    }
    dest.prend(std::move(img));
    return true;
}

QString filtreimages(const QString& premier) {
    // The usual map formats first, then whatever else the reader knows here.
    QStringList motifs;
    for (const char* courant : {"bmp", "png", "jpg", "jpeg"})
        if (QImageReader::supportedImageFormats().contains(courant))
            motifs << QStringLiteral("*.") + QLatin1String(courant);
    for (const QByteArray& f : QImageReader::supportedImageFormats()) {
        const QString motif = QStringLiteral("*.") + QString::fromLatin1(f).toLower();
        if (!motifs.contains(motif)) motifs << motif;
    }
    return premier + QStringLiteral("|Images|") + motifs.join(QLatin1Char(';'));
}
