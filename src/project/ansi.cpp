// Windows-1252 <-> Unicode with a table of our own: the block 0x80..0x9F is the only part that
// differs from Latin-1.
#include "project/ansi.h"

#include <array>

namespace {

constexpr std::array<char16_t, 32> BLOC80 = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

char octet(char16_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<char>(c);
    for (std::size_t i = 0; i < BLOC80.size(); ++i)
        if (BLOC80[i] == c) return static_cast<char>(0x80 + i);
    return '?';
}

} // namespace

QString depuisansi(QByteArrayView octets) {
    QString texte(octets.size(), Qt::Uninitialized);
    QChar* d = texte.data();
    for (const char o : octets) {
        const auto b = static_cast<unsigned char>(o);
        *d++ = QChar(b >= 0x80 && b < 0xA0 ? BLOC80[b - 0x80] : char16_t{b});
    }
    return texte;
}

QByteArray versansi(QStringView texte) {
    QByteArray octets;
    octets.reserve(texte.size());
    for (qsizetype i = 0; i < texte.size(); ++i) {
        const QChar c = texte[i];
        // A character beyond the 16-bit range is one "?", not two.
        if (c.isHighSurrogate() && i + 1 < texte.size() && texte[i + 1].isLowSurrogate()) ++i;
        octets.append(octet(c.unicode()));
    }
    return octets;
}
