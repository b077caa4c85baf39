#include "map/image.h"

#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QtEndian>

#include <algorithm>
#include <optional>

namespace {

QString nomfichier(const QString& chemin) {
    const QString nom = QFileInfo(chemin).fileName();
    return nom.isEmpty() ? chemin : nom;
}

// What the header of a Windows bitmap announces.
struct EnteteBmp {
    qint64 largeur = 0, hauteur = 0;
    qint64 attendu = 0; // file length the pixel rows need; 0 when compressed (unknown)
    qint64 reel = 0;    // file length
};

std::optional<EnteteBmp> entetebmp(const QString& chemin) {
    QFile f(chemin);
    if (!f.open(QIODevice::ReadOnly)) return std::nullopt;
    const QByteArray t = f.read(34);
    if (t.size() < 26 || !t.startsWith("BM")) return std::nullopt;
    const auto* o = reinterpret_cast<const uchar*>(t.constData());
    const quint32 debut = qFromLittleEndian<quint32>(o + 10);
    const quint32 taille = qFromLittleEndian<quint32>(o + 14);
    EnteteBmp h;
    h.reel = f.size();
    quint32 bits = 0, compression = 0;
    if (taille == 12) {
        h.largeur = qFromLittleEndian<quint16>(o + 18);
        h.hauteur = qFromLittleEndian<quint16>(o + 20);
        bits = qFromLittleEndian<quint16>(o + 24);
    } else if (taille >= 40 && t.size() >= 34) {
        h.largeur = qFromLittleEndian<qint32>(o + 18);
        h.hauteur = std::abs(static_cast<qint64>(qFromLittleEndian<qint32>(o + 22)));
        bits = qFromLittleEndian<quint16>(o + 28);
        compression = qFromLittleEndian<quint32>(o + 30);
    } else {
        return std::nullopt;
    }
    constexpr quint32 BI_RGB = 0, BI_BITFIELDS = 3, BI_ALPHABITFIELDS = 6;
    if (compression == BI_RGB || compression == BI_BITFIELDS || compression == BI_ALPHABITFIELDS)
        h.attendu = debut + (h.largeur * bits + 31) / 32 * 4 * h.hauteur;
    return h;
}

QString raison(const QImageReader& lecteur) {
    // Some handlers refuse a header without saying why.
    if (lecteur.error() == QImageReader::UnknownError)
        return QStringLiteral("format inconnu ou entête invalide");
    return lecteur.errorString();
}

} // namespace

bool chargeimage(const QString& chemin, Surface& dest, QString& erreur) {
    QImageReader lecteur(chemin);
    lecteur.setAutoTransform(false);
    QSize taille = lecteur.size();
    // Qt's bitmap reader refuses large headers silently and accepts a file cut short, leaving
    // the missing rows undefined: the header is read here as well.
    const std::optional<EnteteBmp> bmp = entetebmp(chemin);
    const long long pixels = bmp ? bmp->largeur * bmp->hauteur
                                 : static_cast<long long>(taille.width()) * taille.height();
    if (pixels > MAXPIXELS) {
        erreur = QStringLiteral("L'image « %1 » est trop grande : %2*%3 pixels, "
                                "%4 millions de pixels au plus.")
                     .arg(nomfichier(chemin))
                     .arg(bmp ? bmp->largeur : taille.width())
                     .arg(bmp ? bmp->hauteur : taille.height())
                     .arg(MAXPIXELS / 1'000'000);
        return false;
    }
    if (!taille.isValid() || taille.isEmpty()) {
        erreur = QStringLiteral("Le fichier « %1 » n'est pas une image lisible (%2).")
                     .arg(nomfichier(chemin), raison(lecteur));
        return false;
    }
    if (bmp && bmp->reel < bmp->attendu) {
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
                     .arg(nomfichier(chemin), raison(lecteur));
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
