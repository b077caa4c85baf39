#include "export/bmp.h"

#include "timeline/temps.h"

#include <QFileInfo>
#include <QSaveFile>

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

QString raison(QFileDevice::FileError erreur) {
    switch (erreur) {
    case QFileDevice::OpenError:
    case QFileDevice::PermissionsError:
        return QStringLiteral("le dossier n'existe pas ou ne peut pas être écrit");
    case QFileDevice::WriteError:
    case QFileDevice::ResizeError:
        return QStringLiteral("l'écriture a échoué (disque plein ?)");
    default:
        return QStringLiteral("erreur d'écriture");
    }
}

QString echec(const QString& chemin, QFileDevice::FileError erreur) {
    return QStringLiteral("Impossible d'écrire le fichier « %1 » : %2.")
        .arg(chemin, raison(erreur));
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
    // A device or a pipe (say /dev/full) cannot be replaced by renaming a temporary file over it:
    // it is written in place; every ordinary file goes through QSaveFile.
    const QFileInfo info(chemin);
    if (info.exists() && !info.isFile() && !info.isDir()) {
        QFile f(chemin);
        if (!f.open(QIODevice::WriteOnly)) return echec(chemin, f.error());
        if (f.write(octets) != octets.size() || !f.flush())
            return echec(chemin, QFileDevice::WriteError);
        return std::nullopt;
    }
    QSaveFile f(chemin);
    if (!f.open(QIODevice::WriteOnly)) return echec(chemin, f.error());
    if (f.write(octets) != octets.size()) {
        f.cancelWriting();
        return echec(chemin, QFileDevice::WriteError);
    }
    if (!f.commit())
        return echec(chemin,
                     f.error() == QFileDevice::NoError ? QFileDevice::WriteError : f.error());
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
