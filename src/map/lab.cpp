#include "map/lab.h"

#include <cmath>

namespace {

// sRGB byte to linear light, once for the 256 values.
const std::array<float, 256>& lineaire() {
    static const std::array<float, 256> t = [] {
        std::array<float, 256> v{};
        for (int i = 0; i < 256; ++i) {
            const double c = i / 255.0;
            v[i] =
                static_cast<float>(c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4));
        }
        return v;
    }();
    return t;
}

float f(float t) {
    constexpr float e = 216.0f / 24389.0f, k = 24389.0f / 27.0f;
    return t > e ? std::cbrt(t) : (k * t + 16.0f) / 116.0f;
}

} // namespace

Lab verslab(QRgb c) {
    const auto& lin = lineaire();
    const float r = lin[qRed(c)], g = lin[qGreen(c)], b = lin[qBlue(c)];
    // D65 white.
    const float x = (0.4124564f * r + 0.3575761f * g + 0.1804375f * b) / 0.95047f;
    const float y = 0.2126729f * r + 0.7151522f * g + 0.0721750f * b;
    const float z = (0.0193339f * r + 0.1191920f * g + 0.9503041f * b) / 1.08883f;
    const float fx = f(x), fy = f(y), fz = f(z);
    return {116.0f * fy - 16.0f, 500.0f * (fx - fy), 200.0f * (fy - fz)};
}

ProcheCouleur::ProcheCouleur(QRgb reference, int tolerance)
    : ref(reference & 0xffffffu), labref(verslab(reference)),
      tol2(static_cast<float>(tolerance) * static_cast<float>(tolerance)) {}

bool ProcheCouleur::calcule(QRgb c) const {
    const Lab l = verslab(c);
    const float dl = l.l - labref.l, da = l.a - labref.a, db = l.b - labref.b;
    return dl * dl + da * da + db * db <= tol2;
}
