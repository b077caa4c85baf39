#include "map/image.h"

#include "map/fichier.h"
#include "map/imagegdal.h"
#include "state/etat.h"

#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QtEndian>

#include <algorithm>
#include <cstring>
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
    // The length only matters for a size that the guard lets through; for a larger one the
    // product would not fit in 64 bits.
    const bool plausible = h.largeur > 0 && h.hauteur > 0 && h.largeur * h.hauteur <= MAXPIXELS;
    if (plausible &&
        (compression == BI_RGB || compression == BI_BITFIELDS || compression == BI_ALPHABITFIELDS))
        h.attendu = debut + (h.largeur * bits + 31) / 32 * 4 * h.hauteur;
    return h;
}

// PNG and JPEG decoders size the picture from its header before they read any pixel data, and a
// JPEG decoder fills what is missing with grey: a file cut short, or one whose header announces
// far more pixels than its data can hold, is recognised here by its structure, without decoding.
bool pngtronque(QFile& f, QSize taille) {
    // Chunks: length, type, data, CRC; the last one is IEND. Sums the pixel data (IDAT).
    qint64 position = 8, donnees = 0;
    int canaux = 0, profondeur = 0;
    for (;;) {
        if (!f.seek(position)) return true;
        const QByteArray t = f.read(8 + 10);
        if (t.size() < 8) return true;
        const auto* o = reinterpret_cast<const uchar*>(t.constData());
        const qint64 longueur = qFromBigEndian<quint32>(o);
        const QByteArray type = t.mid(4, 4);
        if (position + 12 + longueur > f.size()) return true;
        if (type == "IHDR" && t.size() >= 18) {
            profondeur = o[16];
            const int couleur = o[17];
            canaux = couleur == 2 ? 3 : couleur == 4 ? 2 : couleur == 6 ? 4 : 1;
        } else if (type == "IDAT") {
            donnees += longueur;
        } else if (type == "IEND") {
            break;
        }
        position += 12 + longueur;
    }
    // Deflate packs at most 1032 bytes into one; each row starts with its filter byte.
    const qint64 ligne = 1 + (static_cast<qint64>(taille.width()) * canaux * profondeur + 7) / 8;
    return (donnees + 1) * 1032 < ligne * taille.height();
}

bool jpegtronque(QFile& f, QSize taille) {
    // Segments are walked by their lengths, so an end marker inside a comment or a thumbnail is
    // not taken for the picture's; the coded data after each scan header runs to the next marker.
    // A file that ends before the end marker was cut.
    const qint64 n = f.size();
    const uchar* o = f.map(0, n);
    if (!o) return false; // left to the decoder
    qint64 position = 2, donnees = 0;
    int sof = -1;
    for (;;) {
        if (position + 2 > n) return true;
        if (o[position] != 0xff) return false; // not a marker: left to the decoder
        const int marqueur = o[position + 1];
        if (marqueur == 0xff) { // fill byte
            ++position;
            continue;
        }
        if (marqueur == 0xd9) break;
        if (marqueur == 0x01 || (marqueur >= 0xd0 && marqueur <= 0xd7)) {
            position += 2;
            continue;
        }
        if (position + 4 > n) return true;
        const qint64 longueur = qFromBigEndian<quint16>(o + position + 2);
        if (position + 2 + longueur > n) return true;
        if (sof < 0 && marqueur >= 0xc0 && marqueur <= 0xcf && marqueur != 0xc4 &&
            marqueur != 0xc8 && marqueur != 0xcc)
            sof = marqueur;
        position += 2 + longueur;
        if (marqueur != 0xda) continue;
        // Coded data: 0xff is followed by 0x00 (a stuffed byte) or a restart marker inside it.
        const qint64 debut = position;
        for (;;) {
            const auto* ff =
                static_cast<const uchar*>(std::memchr(o + position, 0xff, n - position));
            if (!ff || ff + 1 >= o + n) return true;
            position = ff - o;
            const int suivant = ff[1];
            if (suivant != 0x00 && !(suivant >= 0xd0 && suivant <= 0xd7)) break;
            position += 2;
        }
        donnees += position - debut;
    }
    // With Huffman coding every 8 x 8 block of the first component costs one bit at least.
    const bool huffman = sof >= 0 && sof <= 0xc3;
    const qint64 blocs = (taille.width() + 7LL) / 8 * ((taille.height() + 7LL) / 8);
    return huffman && donnees * 8 < blocs;
}

// A portable pixmap stores every pixel: one bit (P4), one byte (P5) or three (P6) at the least,
// and in text (P1 to P3) a digit and a separator for each sample, P1 excepted.
bool pnmtronque(QFile& f, QSize taille) {
    const QByteArray t = f.peek(2);
    if (t.size() < 2 || t[0] != 'P' || t[1] < '1' || t[1] > '6') return false;
    const qint64 pixels = static_cast<qint64>(taille.width()) * taille.height();
    qint64 minimum = 0;
    switch (t[1]) {
    case '1':
        minimum = pixels;
        break;
    case '2':
        minimum = pixels * 2 - 1;
        break;
    case '3':
        minimum = pixels * 6 - 1;
        break;
    case '4':
        minimum = (taille.width() + 7LL) / 8 * taille.height();
        break;
    case '5':
        minimum = pixels;
        break;
    case '6':
        minimum = pixels * 3;
        break;
    }
    return f.size() < minimum;
}

// Qt's GIF reader decodes the first frame to tell the size, into a picture as large as the
// logical screen and the frame together: both are read here first. Empty for other files.
std::optional<QSize> entetegif(const QString& chemin) {
    QFile f(chemin);
    if (!f.open(QIODevice::ReadOnly)) return std::nullopt;
    const QByteArray t = f.read(13);
    if (t.size() < 13 || !t.startsWith("GIF8")) return std::nullopt;
    const auto* o = reinterpret_cast<const uchar*>(t.constData());
    int largeur = qFromLittleEndian<quint16>(o + 6), hauteur = qFromLittleEndian<quint16>(o + 8);
    qint64 position = 13 + ((o[10] & 0x80) ? 3 << ((o[10] & 7) + 1) : 0);
    // Extensions (a label, then blocks of one length byte and data) up to the first frame.
    for (;;) {
        if (!f.seek(position)) break;
        const QByteArray b = f.read(10);
        if (b.size() >= 10 && b[0] == '\x2c') {
            const auto* d = reinterpret_cast<const uchar*>(b.constData());
            largeur = std::max(largeur, qFromLittleEndian<quint16>(d + 1) +
                                            qFromLittleEndian<quint16>(d + 5));
            hauteur = std::max(hauteur, qFromLittleEndian<quint16>(d + 3) +
                                            qFromLittleEndian<quint16>(d + 7));
            break;
        }
        if (b.size() < 3 || b[0] != '\x21') break;
        position += 2; // introducer and label
        for (;;) {
            char longueur = 0;
            if (!f.seek(position) || !f.getChar(&longueur)) return QSize(largeur, hauteur);
            position += 1 + static_cast<uchar>(longueur);
            if (longueur == 0) break;
        }
    }
    return QSize(largeur, hauteur);
}

bool tronque(const QString& chemin, QSize taille) {
    QFile f(chemin);
    if (!f.open(QIODevice::ReadOnly)) return false;
    const QByteArray debut = f.peek(8);
    if (debut == QByteArray("\x89PNG\r\n\x1a\n", 8)) return pngtronque(f, taille);
    if (debut.startsWith("\xff\xd8\xff")) return jpegtronque(f, taille);
    return pnmtronque(f, taille);
}

// libjpeg reports missing data as a warning, fills the rest with grey, and Qt only logs it: the
// log is watched while a JPEG is decoded.
bool jpegincomplet = false;
QtMessageHandler precedent = nullptr;
void guetteur(QtMsgType type, const QMessageLogContext& contexte, const QString& message) {
    if (contexte.category && std::strcmp(contexte.category, "qt.gui.imageio.jpeg") == 0 &&
        message.contains(QLatin1String("premature end"), Qt::CaseInsensitive))
        jpegincomplet = true;
    else if (precedent)
        precedent(type, contexte, message);
}

QString raison(const QImageReader& lecteur) {
    // Some handlers refuse a header without saying why.
    if (lecteur.error() == QImageReader::UnknownError)
        return traduit(907, QStringLiteral("format inconnu ou entête invalide"));
    return lecteur.errorString();
}

} // namespace

bool chargeimage(const QString& chemin, Surface& dest, QString& erreur, long long maxpixels) {
    // Qt's limit is for the whole process and some readers allocate as they tell the size: set
    // once, before the first picture is looked at, so every use sees the same.
    static const bool limite = [] {
        QImageReader::setAllocationLimit(MAXDECODE);
        return true;
    }();
    Q_UNUSED(limite);
    if (const auto pas = pasunfichier(chemin)) {
        erreur = traduit(908, QStringLiteral("Impossible de lire l'image « %1 » : %2."))
                     .arg(nomfichier(chemin), *pas);
        return false;
    }
    QImageReader lecteur(chemin);
    lecteur.setAutoTransform(false);
    // Qt's bitmap reader refuses large headers silently and accepts a file cut short, leaving
    // the missing rows undefined, and its GIF reader decodes a frame to tell the size: the
    // headers of both are read here, before the reader is asked.
    const std::optional<EnteteBmp> bmp = entetebmp(chemin);
    const std::optional<QSize> gif = bmp ? std::nullopt : entetegif(chemin);
    maxpixels = std::min(maxpixels, MAXPIXELS);
    const auto refuse = [&](long long largeur, long long hauteur) {
        if (largeur * hauteur <= maxpixels) return false;
        erreur = traduit(909, QStringLiteral("L'image « %1 » est trop grande : %2*%3 pixels, "
                                             "%4 millions de pixels au plus."))
                     .arg(nomfichier(chemin))
                     .arg(largeur)
                     .arg(hauteur)
                     .arg(maxpixels / 1'000'000);
        return true;
    };
    const auto coupe = [&] {
        erreur = traduit(910, QStringLiteral("Impossible de lire l'image « %1 » : le fichier est "
                                             "tronqué."))
                     .arg(nomfichier(chemin));
        return false;
    };
    if (bmp && refuse(bmp->largeur, bmp->hauteur)) return false;
    if (gif) {
        if (refuse(gif->width(), gif->height())) return false;
        // LZW codes are 12 bits at most and one gives 4096 pixels at most.
        if (QFileInfo(chemin).size() * 8 / 12 * 4096 <
            static_cast<qint64>(gif->width()) * gif->height())
            return coupe();
    }
    // A picture Qt has no reader for may be one of the geodata formats (GeoTIFF first of all).
    if (!bmp && !gif && !lecteur.canRead()) {
        QImage g;
        switch (chargegdal(chemin, g, erreur, MAXPIXELS)) {
        case LectureGdal::lue: {
            Surface lue;
            if (!lue.prend(std::move(g))) {
                erreur = QStringLiteral("Impossible de lire l'image « %1 » : pas assez de mémoire "
                                        "pour la convertir.")
                             .arg(nomfichier(chemin));
                return false;
            }
            dest = std::move(lue);
            return true;
        }
        case LectureGdal::refusee:
            return false;
        case LectureGdal::inconnue:
            break;
        }
    }
    // Qt's bitmap reader tells a top-down bitmap's height negative, and reads it well.
    const QSize taille = bmp ? QSize(static_cast<int>(bmp->largeur), static_cast<int>(bmp->hauteur))
                             : lecteur.size();
    if (!bmp && refuse(taille.width(), taille.height())) return false;
    if (!taille.isValid() || taille.isEmpty()) {
        erreur = traduit(911, QStringLiteral("Le fichier « %1 » n'est pas une image lisible (%2)."))
                     .arg(nomfichier(chemin), raison(lecteur));
        return false;
    }
    if (bmp ? bmp->reel < bmp->attendu : tronque(chemin, taille)) return coupe();
    const bool jpeg = lecteur.format() == "jpeg";
    if (jpeg) {
        jpegincomplet = false;
        precedent = qInstallMessageHandler(guetteur);
    }
    QImage img = lecteur.read();
    if (jpeg) qInstallMessageHandler(precedent);
    if (img.isNull()) {
        erreur = traduit(908, QStringLiteral("Impossible de lire l'image « %1 » : %2."))
                     .arg(nomfichier(chemin), raison(lecteur));
        return false;
    }
    if (jpeg && jpegincomplet) return coupe();
    // Some readers tell one size and decode another: the limit holds for what was decoded.
    if (refuse(img.width(), img.height())) return false;
    Surface lue;
    if (!lue.prend(std::move(img))) {
        erreur = traduit(912, QStringLiteral("Impossible de lire l'image « %1 » : pas assez de "
                                             "mémoire pour la convertir."))
                     .arg(nomfichier(chemin));
        return false;
    }
    dest = std::move(lue);
    return true;
}

QStringList motifsimages() {
    // The usual map formats first, then whatever else the reader knows here.
    QStringList motifs;
    for (const char* courant : {"bmp", "png", "jpg", "jpeg"})
        if (QImageReader::supportedImageFormats().contains(courant))
            motifs << QStringLiteral("*.") + QLatin1String(courant);
    for (const QByteArray& f : QImageReader::supportedImageFormats()) {
        const QString motif = QStringLiteral("*.") + QString::fromLatin1(f).toLower();
        if (!motifs.contains(motif)) motifs << motif;
    }
    // What is read through GDAL when Qt cannot.
    for (const char* geo : {"tif", "tiff", "jp2", "img", "ntf", "webp"}) {
        const QString motif = QStringLiteral("*.") + QLatin1String(geo);
        if (!motifs.contains(motif)) motifs << motif;
    }
    return motifs;
}

QString filtreimages(const QString& premier) {
    return premier + QStringLiteral("|Images|") + motifsimages().join(QLatin1Char(';'));
}
