// Makes the demo project of examples/demo in two steps, run by scripts/fabriquedemo.sh:
//   fabriquedemo carte DOSSIER   draws carte.bmp (the map with its painted route and a word in
//                                strokes), fond.png (the same map without them, shown in the
//                                film) and loupe.bmp (the magnifier), and prints one line
//                                "X,Y #RRGGBB" per run of the tracer to make, the route first;
//   fabriquedemo film DOSSIER    takes the traced project (carte.vlp), sets the keyframes that
//                                follow the route, the legend, the tip and the magnifier, and
//                                saves it again.
#include "cli/commande.h"
#include "project/cadrage.h"
#include "project/carte.h"
#include "project/parametres.h"
#include "timeline/camera.h"
#include "timeline/temps.h"

#include <QCoreApplication>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPoint>
#include <QTextStream>

#include <cmath>
#include <cstdio>
#include <vector>

namespace {

constexpr int LARGEUR = 1600;
constexpr int HAUTEUR = 1200;

// The painted colours the tracer follows: each appears on the map only where it is painted.
constexpr QRgb ROUTE = 0xffe0101c;
constexpr QRgb MOT = 0xff7a1fa8;

struct Ville {
    const char* nom;
    QPointF ou;
};

// The towns, in the order the route visits them.
const Ville VILLES[] = {
    {"Port-Sable", {250, 1010}}, {"Mirande", {520, 860}},    {"Castelbrune", {610, 560}},
    {"Orlhac", {930, 470}},      {"Vaudreuil", {1120, 700}}, {"Sainte-Aube", {1390, 420}},
    {"Hautevive", {1300, 180}},
};

// A smooth curve through the towns (Catmull-Rom), sampled finely.
std::vector<QPointF> courbe() {
    std::vector<QPointF> p;
    const int n = static_cast<int>(std::size(VILLES));
    auto v = [&](int i) { return VILLES[std::clamp(i, 0, n - 1)].ou; };
    for (int i = 0; i + 1 < n; ++i) {
        const QPointF p0 = v(i - 1), p1 = v(i), p2 = v(i + 1), p3 = v(i + 2);
        for (int k = 0; k < 400; ++k) {
            const double t = k / 400.0, t2 = t * t, t3 = t2 * t;
            p.push_back(0.5 * ((2 * p1) + (-p0 + p2) * t + (2 * p0 - 5 * p1 + 4 * p2 - p3) * t2 +
                               (-p0 + 3 * p1 - 3 * p2 + p3) * t3));
        }
    }
    p.push_back(v(n - 1));
    return p;
}

// The pixels of a polyline, 8-connected and one pixel thin: consecutive pixels are neighbours,
// and a pixel whose two neighbours already touch each other (the inner corner of a stair step)
// is left out, so the walk never meets a fork.
std::vector<QPoint> pixels(const std::vector<QPointF>& pts) {
    std::vector<QPoint> c;
    auto ajoute = [&](QPoint q) {
        if (!c.empty() && c.back() == q) return;
        c.push_back(q);
    };
    for (size_t i = 0; i + 1 < pts.size(); ++i) {
        // Bresenham between the rounded ends.
        QPoint a = pts[i].toPoint();
        const QPoint b = pts[i + 1].toPoint();
        const int dx = std::abs(b.x() - a.x()), dy = -std::abs(b.y() - a.y());
        const int sx = a.x() < b.x() ? 1 : -1, sy = a.y() < b.y() ? 1 : -1;
        int err = dx + dy;
        for (;;) {
            ajoute(a);
            if (a == b) break;
            const int e2 = 2 * err;
            if (e2 >= dy) {
                err += dy;
                a.rx() += sx;
            }
            if (e2 <= dx) {
                err += dx;
                a.ry() += sy;
            }
        }
    }
    std::vector<QPoint> fin;
    for (const QPoint& q : c) {
        while (fin.size() >= 2) {
            const QPoint d = q - fin[fin.size() - 2];
            if (std::abs(d.x()) > 1 || std::abs(d.y()) > 1) break;
            fin.pop_back();
        }
        fin.push_back(q);
    }
    return fin;
}

void peins(QImage& img, const std::vector<QPoint>& px, QRgb c) {
    for (const QPoint& q : px)
        img.setPixel(q, c);
}

// Land, sea, rivers, forests, towns and names, drawn smooth; the painted colours are then taken
// out of it so that they appear only where the route and the word are painted.
QImage fond() {
    QImage img(LARGEUR, HAUTEUR, QImage::Format_RGB32);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    // Sea, darker offshore.
    QLinearGradient mer(0, 0, 0, HAUTEUR);
    mer.setColorAt(0, QColor(120, 170, 214));
    mer.setColorAt(1, QColor(84, 136, 190));
    p.fillRect(img.rect(), mer);
    // The land: a coast along the south-west, an island off the north-west.
    QPainterPath terre;
    terre.moveTo(140, HAUTEUR + 10);
    terre.cubicTo(120, 1000, 330, 930, 380, 800);
    terre.cubicTo(420, 690, 300, 600, 420, 470);
    terre.cubicTo(540, 340, 700, 390, 820, 300);
    terre.cubicTo(950, 200, 1050, 60, 1180, 40);
    terre.cubicTo(1300, 20, 1420, -20, LARGEUR + 10, -10);
    terre.lineTo(LARGEUR + 10, HAUTEUR + 10);
    terre.closeSubpath();
    p.setPen(QPen(QColor(236, 228, 196), 14));
    p.setBrush(QColor(214, 226, 170));
    p.drawPath(terre);
    p.setPen(QPen(QColor(90, 110, 80), 2));
    p.setBrush(Qt::NoBrush);
    p.drawPath(terre);
    QPainterPath ile;
    ile.addEllipse(QPointF(260, 250), 150, 90);
    p.setPen(QPen(QColor(90, 110, 80), 2));
    p.setBrush(QColor(214, 226, 170));
    p.drawPath(ile);
    // Hills and forests.
    p.setPen(Qt::NoPen);
    const QPointF forets[] = {{800, 900}, {1000, 1050}, {1250, 900},  {1480, 700},
                              {700, 700}, {1050, 300},  {1450, 1050}, {240, 260}};
    for (const QPointF& f : forets) {
        p.setBrush(QColor(170, 200, 130));
        p.drawEllipse(f, 90, 60);
        p.setBrush(QColor(150, 186, 112));
        p.drawEllipse(f + QPointF(15, 5), 45, 28);
    }
    // Rivers.
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(80, 140, 200), 4, Qt::SolidLine, Qt::RoundCap));
    QPainterPath fleuve;
    fleuve.moveTo(1560, 1150);
    fleuve.cubicTo(1300, 1000, 1100, 850, 900, 820);
    fleuve.cubicTo(700, 800, 520, 950, 330, 880);
    p.drawPath(fleuve);
    QPainterPath riviere;
    riviere.moveTo(1500, 80);
    riviere.cubicTo(1350, 300, 1200, 500, 1110, 760);
    p.setPen(QPen(QColor(80, 140, 200), 3, Qt::SolidLine, Qt::RoundCap));
    p.drawPath(riviere);
    // Roads between the towns, grey, under the route.
    p.setPen(QPen(QColor(160, 150, 140), 2));
    p.drawLine(VILLES[1].ou, VILLES[4].ou);
    p.drawLine(VILLES[2].ou, VILLES[3].ou + QPointF(0, 200));
    // Towns and their names.
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(22);
    f.setBold(true);
    p.setFont(f);
    for (const Ville& v : VILLES) {
        p.setPen(QPen(Qt::white, 3));
        p.setBrush(QColor(40, 40, 40));
        p.drawEllipse(v.ou, 9, 9);
        p.setPen(QColor(30, 30, 30));
        p.drawText(v.ou + QPointF(16, -12), QString::fromUtf8(v.nom));
    }
    // Title and scale.
    f.setPixelSize(34);
    p.setFont(f);
    p.setPen(QColor(20, 50, 90));
    p.drawText(QPointF(60, 80), QStringLiteral("Vialume"));
    f.setPixelSize(18);
    f.setBold(false);
    p.setFont(f);
    p.drawText(QPointF(60, 110), QString::fromUtf8("carte de démonstration"));
    p.setPen(QPen(QColor(30, 30, 30), 3));
    p.drawLine(QPointF(60, 1150), QPointF(260, 1150));
    p.drawText(QPointF(60, 1140), QStringLiteral("0"));
    p.drawText(QPointF(232, 1140), QStringLiteral("100 km"));
    p.end();
    // Keep the painted colours for the painted lines alone.
    for (int y = 0; y < img.height(); ++y) {
        auto* l = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < img.width(); ++x)
            if (l[x] == ROUTE || l[x] == MOT) l[x] ^= 1;
    }
    return img;
}

// The word "FIN" near the last town, written in strokes: each letter is one connected line that
// the tracer walks from the first pixel of its first stroke, so the word is written letter after
// letter.
std::vector<std::vector<QPoint>> mot() {
    const QPointF o(1420, 200); // top left of the word
    const double h = 70, l = 40, e = 28;
    using Trait = std::vector<QPointF>;
    const std::vector<std::vector<Trait>> lettres = {
        // F: the top bar from its right end, down the stem; the middle bar joins the stem.
        {{o + QPointF(l, 0), o, o + QPointF(0, h)},
         {o + QPointF(0, h / 2), o + QPointF(l * 0.8, h / 2)}},
        // I
        {{o + QPointF(l + e, 0), o + QPointF(l + e, h)}},
        // N, from the bottom of its left stem.
        {{o + QPointF(l + 2 * e, h), o + QPointF(l + 2 * e, 0), o + QPointF(2 * l + 2 * e, h),
          o + QPointF(2 * l + 2 * e, 0)}},
    };
    std::vector<std::vector<QPoint>> sortie;
    for (const auto& lettre : lettres) {
        std::vector<QPoint> px;
        for (const Trait& t : lettre) {
            const auto p = pixels(t);
            px.insert(px.end(), p.begin(), p.end());
        }
        sortie.push_back(px);
    }
    return sortie;
}

QString hexa(QRgb c) {
    return QStringLiteral("#%1").arg(c & 0xffffff, 6, 16, QLatin1Char('0')).toUpper();
}

int fabriquecarte(const QString& dossier) {
    QImage img = fond();
    // The same map without the painted lines, shown in the film in place of the map.
    if (!img.save(dossier + QStringLiteral("/fond.png"), "PNG")) return 1;
    const auto route = pixels(courbe());
    peins(img, route, ROUTE);
    QTextStream out(stdout);
    out << route.front().x() << ',' << route.front().y() << ' ' << hexa(0xffd01010) << '\n';
    for (const auto& t : mot()) {
        peins(img, t, MOT);
        out << t.front().x() << ',' << t.front().y() << ' ' << hexa(0xff6a0dad) << '\n';
    }
    if (!img.convertToFormat(QImage::Format_RGB888)
             .save(dossier + QStringLiteral("/carte.bmp"), "BMP"))
        return 1;

    // The magnifier: black outside, a brass rim, a white glass.
    QImage loupe(300, 300, QImage::Format_RGB32);
    loupe.fill(Qt::black);
    QPainter p(&loupe);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(184, 134, 11));
    p.drawEllipse(QPoint(150, 150), 140, 140);
    p.setBrush(QColor(230, 190, 80));
    p.drawEllipse(QPoint(150, 150), 128, 128);
    p.setBrush(Qt::white);
    p.drawEllipse(QPoint(150, 150), 118, 118);
    p.end();
    if (!loupe.convertToFormat(QImage::Format_RGB888)
             .save(dossier + QStringLiteral("/loupe.bmp"), "BMP"))
        return 1;
    return 0;
}

// The film of the traced project: ten seconds whose keyframes, one a second, keep the head of
// the route in the middle of the view; the map without its painted lines on screen; the
// distance in kilometres with a shadow, a yellow tip, the magnifier.
int fabriquefilm(const QString& dossier) {
    auto etat = nouveletat();
    Etat& e = *etat;
    Surfaces surf;
    QTextStream err(stderr);
    if (auto erreur = ouvreprojet(e, surf, dossier + QStringLiteral("/carte.bmp"))) {
        err << *erreur << '\n';
        return 1;
    }
    if (e.nbpt < 0) {
        err << "carte.vlp n'a pas de route : lancer vialume trace d'abord\n";
        return 1;
    }
    // A 1080p film: the view is 1280 x 720 of the 1600 x 1200 map, enlarged one and a half
    // times; the route 8 film pixels wide with a white outline.
    if (auto refus = prendfilm(e, Film{1920, 1080, 1.5})) {
        err << *refus << '\n';
        return 1;
    }
    e.style = Style{8, 3, 0x00ffffff};
    e.nbi = QString::number(10 * e.ips);
    majduree(e);
    majcles(e);
    // The camera follows the head of the route, easing in and out of each keyframe.
    e.adoucit = true;
    if (auto erreur = suisroute(e, 200, 0)) {
        err << *erreur << '\n';
        return 1;
    }
    e.tl = 0;
    majmodecle(e);

    e.montre = true;
    e.unite = KM;
    e.lkm = QStringLiteral("420");
    e.police.nom = QStringLiteral("DejaVu Sans");
    e.police.taille = -43;
    e.police.couleur = 0x00ffffff;
    e.police.gras = true;
    e.xt = 40;
    e.yt = 990;
    e.okombre = true;
    e.coulombre = 0x00202020;
    e.xombre = e.yombre = 5;

    e.checkbox1 = true;
    e.updown1 = 30;
    e.bordnb = QStringLiteral("30");
    e.coulbord = 0x0000ffff; // yellow

    // Named without a folder: the project is found beside its map wherever the folder lies.
    const Chargement l = chargeloupe(e, surf, QStringLiteral("loupe.bmp"));
    if (l.issue != Chargement::ok) {
        err << l.message << '\n';
        return 1;
    }
    e.fichierloupe = QStringLiteral("loupe.bmp");
    e.txloupe = 100;
    e.estompe = 20;
    e.okloupe = true;

    const Chargement v = chargevisu(e, surf, QStringLiteral("fond.png"));
    if (v.issue != Chargement::ok) {
        err << v.message << '\n';
        return 1;
    }
    e.fichiervisu = QStringLiteral("fond.png");

    QString erreur;
    if (!sauveparametres(e, erreur)) {
        err << erreur << '\n';
        return 1;
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    // Fonts need a platform, never a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList a = app.arguments();
    if (a.size() == 3 && a[1] == QLatin1String("carte")) return fabriquecarte(a[2]);
    if (a.size() == 3 && a[1] == QLatin1String("film")) return fabriquefilm(a[2]);
    QTextStream(stderr) << "usage : fabriquedemo carte DOSSIER | fabriquedemo film DOSSIER\n";
    return 2;
}
