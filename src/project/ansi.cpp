// The code page is Latin-1 but for 0x80..0x9F; a table of those 32 characters is all it takes, and
// keeps the conversion exact whatever text codecs the Qt build carries.
#include "project/ansi.h"

#include <array>

namespace {

constexpr std::array<char16_t, 32> de80a9f = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, // 80..87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F, // 88..8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, // 90..97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178, // 98..9F
};

char unoctet(char16_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<char>(c);
    for (std::size_t i = 0; i < de80a9f.size(); ++i)
        if (de80a9f[i] == c) return static_cast<char>(0x80 + i);
    return '?';
}

} // namespace

QString depuisansi(QByteArrayView octets) {
    QString texte(octets.size(), Qt::Uninitialized);
    QChar* sortie = texte.data();
    for (const char o : octets) {
        const auto b = static_cast<unsigned char>(o);
        *sortie++ = QChar(b >= 0x80 && b < 0xA0 ? de80a9f[b - 0x80] : char16_t{b});
    }
    return texte;
}

QByteArray versansi(const QString& texte) {
    QByteArray octets;
    octets.reserve(texte.size());
    for (qsizetype i = 0; i < texte.size(); ++i) {
        const QChar c = texte[i];
        // A character beyond the 16-bit range is one "?", not one for each half of its pair.
        if (c.isHighSurrogate() && i + 1 < texte.size() && texte[i + 1].isLowSurrogate()) ++i;
        octets += unoctet(c.unicode());
    }
    return octets;
}
