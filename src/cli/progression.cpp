#include "cli/progression.h"

#include <algorithm>
#include <unistd.h>

namespace {

int pourcent(int faites, int total) {
    if (total <= 0) return 100;
    return static_cast<int>(std::clamp(100LL * faites / total, 0LL, 100LL));
}

QString barre(const QString& quoi, int faites, int total) {
    constexpr int LARGEUR = 30;
    const int p = pourcent(faites, total);
    const int plein = p * LARGEUR / 100;
    return QStringLiteral("%1 [%2%3] %4 % (%5/%6)")
        .arg(quoi, QString(plein, QLatin1Char('#')), QString(LARGEUR - plein, QLatin1Char('.')))
        .arg(p, 3)
        .arg(faites)
        .arg(total);
}

QString ligne(const QString& quoi, int faites, int total) {
    return QStringLiteral("%1 : %2 % (%3/%4)")
        .arg(quoi)
        .arg(pourcent(faites, total))
        .arg(faites)
        .arg(total);
}

} // namespace

Progression::Progression(const QString& quoi, int total, std::FILE* flux)
    : quoi(quoi), total(total), flux(flux), terminal(isatty(fileno(flux)) == 1) {}

void Progression::avance(int faites) {
    const int p = pourcent(faites, total);
    if (terminal) {
        if (p == dernier) return;
        dernier = p;
        std::fprintf(flux, "\r%s", barre(quoi, faites, total).toLocal8Bit().constData());
    } else {
        // A line at 10 %, 20 % ... 100 %; none at 0.
        const int dixieme = p / 10;
        if (dixieme == 0 || dixieme == dernier) return;
        dernier = dixieme;
        std::fprintf(flux, "%s\n", ligne(quoi, faites, total).toLocal8Bit().constData());
    }
    std::fflush(flux);
}

void Progression::termine() {
    if (terminal && dernier >= 0) std::fputc('\n', flux);
    std::fflush(flux);
}
