// Drawn with QPainter over the composed map: the tracks' exact pixels (or anti-aliased lines in a
// wide route style), then the heads, then the names, then the ranking. A tail is a few hundred
// points a track, so a frame of many tracks stays cheap; the texts are laid out once and kept.
#include "render/rejeu.h"

#include "geo/distance.h"
#include "render/trait.h"
#include "timeline/rejeu.h"

#include <QPainter>
#include <QPainterPath>
#include <QStaticText>

#include <algorithm>
#include <cmath>
#include <numeric>
#include <optional>
#include <unordered_map>

namespace {

// The texts of the last frames, laid out once.
struct Mises {
    QFont police;
    std::unordered_map<QString, QStaticText> mis;
    std::vector<QRect> places;
    const QStaticText& texte(const QString& t) {
        auto it = mis.find(t);
        if (it == mis.end()) {
            if (mis.size() > 4096) mis.clear();
            QStaticText s(t);
            s.setTextFormat(Qt::PlainText);
            s.prepare(QTransform(), police);
            it = mis.emplace(t, s).first;
        }
        return it->second;
    }
};

Mises& textes(Surfaces& surf) {
    Brouillon& b = brouillon(surf.brouillon);
    if (!b.rejeu) b.rejeu = std::make_shared<Mises>();
    return *static_cast<Mises*>(b.rejeu.get());
}

// The names' font: the legend's, large enough to read on a large film.
QFont policenoms(const Etat& e) {
    QFont f(e.police.nom.isEmpty() ? QStringLiteral("DejaVu Sans") : e.police.nom);
    f.setStyleHint(QFont::SansSerif);
    f.setPixelSize(std::max({std::abs(e.police.taille), e.film.hauteur / 48, 10}));
    f.setBold(true);
    return f;
}

QString duree(double s, bool signe) {
    const auto v = static_cast<long long>(std::llround(std::max(0.0, s)));
    const QString t =
        v >= 3600 ? QStringLiteral("%1:%2:%3")
                        .arg(v / 3600)
                        .arg(v / 60 % 60, 2, 10, QLatin1Char('0'))
                        .arg(v % 60, 2, 10, QLatin1Char('0'))
                  : QStringLiteral("%1:%2").arg(v / 60).arg(v % 60, 2, 10, QLatin1Char('0'));
    return signe ? QStringLiteral("+") + t : t;
}

QString distance(const Etat& e, double metres) {
    const bool milles = e.unite == MILE;
    return QStringLiteral("%1 %2").arg(decimalfr(metres / (milles ? 1609.344 : 1000.0), 2),
                                       milles ? QStringLiteral("mi") : QStringLiteral("km"));
}

bool recouvre(const QRect& r, const std::vector<QRect>& pris) {
    return std::any_of(pris.begin(), pris.end(), [&](const QRect& p) { return p.intersects(r); });
}

} // namespace

std::vector<QRect> placenoms(const std::vector<QPoint>& tetes, const std::vector<QSize>& tailles,
                             int rayon, const QRect& cadre) {
    std::vector<QRect> pris; // the heads' discs, then each box placed
    for (const QPoint& h : tetes)
        pris.emplace_back(h.x() - rayon, h.y() - rayon, 2 * rayon + 1, 2 * rayon + 1);
    std::vector<QRect> places(tetes.size());
    for (std::size_t k = 0; k < tetes.size(); ++k) {
        const QPoint h = tetes[k];
        const int l = tailles[k].width(), H = tailles[k].height(), d = rayon + 3;
        // Right, left, above, below, the corners; then the same further out.
        std::optional<QRect> choisi;
        for (int loin = 0; loin < 6 && !choisi; ++loin) {
            const int p = d + loin * (H + 2);
            const QRect essais[] = {
                {h.x() + p, h.y() - H / 2, l, H},     {h.x() - p - l, h.y() - H / 2, l, H},
                {h.x() - l / 2, h.y() - p - H, l, H}, {h.x() - l / 2, h.y() + p, l, H},
                {h.x() + p, h.y() - p - H, l, H},     {h.x() + p, h.y() + p, l, H},
                {h.x() - p - l, h.y() - p - H, l, H}, {h.x() - p - l, h.y() + p, l, H}};
            for (const QRect& r : essais)
                if (cadre.contains(r) && !recouvre(r, pris)) {
                    choisi = r;
                    break;
                }
        }
        if (!choisi) {
            // No room near it: to the right, moved down past whatever it meets.
            QRect r(h.x() + d, h.y() - H / 2, l, H);
            if (r.right() > cadre.right()) r.moveRight(h.x() - d);
            for (int n = 0; recouvre(r, pris) && n < 4 * static_cast<int>(pris.size()) + 4; ++n) {
                int bas = r.bottom();
                for (const QRect& p : pris)
                    if (p.intersects(r)) bas = std::max(bas, p.bottom());
                r.moveTop(bas + 1);
            }
            choisi = r;
        }
        places[k] = *choisi;
        pris.push_back(*choisi);
    }
    return places;
}

QStringList lignesclassement(const Etat& e, double t) {
    QStringList l;
    const std::vector<Rang> v = classement(e, t);
    for (std::size_t k = 0; k < v.size(); ++k) {
        const Rang& r = v[k];
        const Piste& p = e.rejeu.pistes[static_cast<std::size_t>(r.tete.piste)];
        QString ligne = QStringLiteral("%1. %2  ").arg(k + 1).arg(p.nom);
        ligne += r.tete.fini ? duree(r.tete.duree, false) : distance(e, r.tete.dist);
        if (k > 0)
            ligne +=
                QStringLiteral("  ") +
                (r.ecarttemps ? duree(r.ecart, true) : QStringLiteral("-") + distance(e, r.ecart));
        l << ligne;
    }
    return l;
}

const std::vector<QRect>& nomsplaces(Surfaces& surf) {
    return textes(surf).places;
}

void dessinerejeu(const Etat& e, Surfaces& surf, double t, int sx, int sy, double z) {
    QImage& vue = surf.vue.image();
    const int L = vue.width(), H = vue.height();
    const Rejeu& rj = e.rejeu;
    const std::vector<Tete> hs = tetes(e, t);
    const double fx = -sx, fy = -sy;
    const auto film = [&](int i) {
        return QPointF((e.ptx[static_cast<std::size_t>(i)] + fx + 0.5) * z,
                       (e.pty[static_cast<std::size_t>(i)] + fy + 0.5) * z);
    };
    // How opaque point i of a track is: whole, or fading along the tail.
    const auto opacite = [&](const Piste& p, int i) {
        if (rj.queue <= 0) return 1.0;
        return std::clamp((tempspoint(e, p, i) - (t - rj.queue)) / rj.queue, 0.0, 1.0);
    };
    const auto premierpoint = [&](const Piste& p) {
        if (rj.queue <= 0) return p.premier;
        return std::max(p.premier, pointau(e, p, t - rj.queue) + 1);
    };

    if (e.style.largeur <= 0) {
        // The route's own pixels, each map pixel a block at a zoom, blended along a tail.
        uchar* base = vue.bits();
        const qsizetype pas = vue.bytesPerLine();
        for (const Tete& h : hs) {
            if (!h.parti) continue;
            const Piste& p = rj.pistes[static_cast<std::size_t>(h.piste)];
            for (int i = premierpoint(p); i <= h.point; ++i) {
                const auto ui = static_cast<std::size_t>(i);
                const QRgb c = versqrgb(e.ptcoul[ui]);
                const double a = opacite(p, i);
                const int x0 = static_cast<int>(std::floor((e.ptx[ui] - sx) * z));
                const int y0 = static_cast<int>(std::floor((e.pty[ui] - sy) * z));
                const int x1 =
                    std::max(x0 + 1, static_cast<int>(std::floor((e.ptx[ui] - sx + 1) * z)));
                const int y1 =
                    std::max(y0 + 1, static_cast<int>(std::floor((e.pty[ui] - sy + 1) * z)));
                for (int y = std::max(y0, 0); y < std::min(y1, H); ++y) {
                    auto* ligne = reinterpret_cast<QRgb*>(base + y * pas);
                    for (int x = std::max(x0, 0); x < std::min(x1, L); ++x) {
                        if (a >= 1) {
                            ligne[x] = c;
                            continue;
                        }
                        const QRgb d = ligne[x];
                        const auto m = [a](int s, int f) {
                            return static_cast<int>(std::lround(f + (s - f) * a));
                        };
                        ligne[x] = qRgb(m(qRed(c), qRed(d)), m(qGreen(c), qGreen(d)),
                                        m(qBlue(c), qBlue(d)));
                    }
                }
            }
        }
    }

    QPainter pe(&vue);
    pe.setRenderHint(QPainter::Antialiasing);
    if (e.style.largeur > 0) {
        // Anti-aliased lines, the outline of all first; a tail in bands of fading colour.
        const double w = diametretrait(e.style, z);
        constexpr int BANDES = 8;
        for (const int passe : {0, 1}) {
            if (passe == 0 && e.style.halo <= 0) continue;
            for (const Tete& h : hs) {
                if (!h.parti) continue;
                const Piste& p = rj.pistes[static_cast<std::size_t>(h.piste)];
                const int a = premierpoint(p);
                if (a > h.point) continue;
                QColor c =
                    passe == 0
                        ? QColor::fromRgb(versqrgb(e.style.coulhalo))
                        : QColor::fromRgb(versqrgb(e.ptcoul[static_cast<std::size_t>(h.point)]));
                const double largeur = passe == 0 ? w + 2.0 * e.style.halo : w;
                const int bandes = rj.queue > 0 ? BANDES : 1;
                int debut = a;
                for (int b = 0; b < bandes; ++b) {
                    // The points whose opacity falls in this band.
                    int fin = h.point;
                    if (bandes > 1 && b + 1 < bandes) {
                        const double seuil = t - rj.queue + rj.queue * (b + 1) / bandes;
                        fin = std::min(pointau(e, p, seuil), h.point);
                        if (fin < debut) continue; // no point in this band
                    }
                    QPainterPath chemin;
                    QPointF dernier;
                    bool ouvert = false;
                    for (int i = std::max(debut - 1, a); i <= fin; ++i) {
                        const QPointF q = film(i);
                        const bool saut = i > a && e.pttron[static_cast<std::size_t>(i)] !=
                                                       e.pttron[static_cast<std::size_t>(i - 1)];
                        if (!ouvert || saut) {
                            chemin.moveTo(q);
                            ouvert = true;
                            dernier = q;
                        } else if (std::abs(q.x() - dernier.x()) + std::abs(q.y() - dernier.y()) >=
                                       1.0 ||
                                   i == fin) {
                            chemin.lineTo(q);
                            dernier = q;
                        }
                    }
                    if (debut == fin) chemin.lineTo(film(fin) + QPointF(0.01, 0));
                    QColor cb = c;
                    if (bandes > 1) cb.setAlphaF((b + 1.0) / bandes);
                    pe.setPen(QPen(cb, largeur, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
                    pe.drawPath(chemin);
                    debut = fin + 1;
                    if (debut > h.point) break;
                }
            }
        }
    }

    // Heads: a disc in the track's colour, hollow while the track waits for its start.
    const int rayon = std::max(
        {4, H / 110,
         static_cast<int>(std::ceil(e.style.largeur > 0 ? diametretrait(e.style, z) * 0.8 : 0))});
    std::vector<QPoint> centres;
    std::vector<QSize> tailles;
    Mises& tx = textes(surf);
    const QFont police = policenoms(e);
    if (tx.police != police) {
        tx.police = police;
        tx.mis.clear();
    }
    pe.setFont(police);
    for (const Tete& h : hs) {
        const Piste& p = rj.pistes[static_cast<std::size_t>(h.piste)];
        const QPointF q = film(h.point);
        centres.push_back(q.toPoint());
        const QColor c = QColor::fromRgb(versqrgb(p.couleur));
        pe.setPen(QPen(h.parti ? Qt::white : c, 2));
        pe.setBrush(h.parti ? c : QColor(Qt::white));
        pe.drawEllipse(q, rayon, rayon);
        const QSizeF s = tx.texte(p.nom).size();
        tailles.emplace_back(static_cast<int>(std::ceil(s.width())) + 8,
                             static_cast<int>(std::ceil(s.height())) + 4);
    }
    // Names: the leader's first, so that it keeps the place beside its head.
    std::vector<std::size_t> ordre(hs.size());
    std::iota(ordre.begin(), ordre.end(), 0);
    const std::vector<Rang> rangs = classement(e, t);
    std::vector<int> rangde(rj.pistes.size(), 0);
    for (std::size_t k = 0; k < rangs.size(); ++k)
        rangde[static_cast<std::size_t>(rangs[k].tete.piste)] = static_cast<int>(k);
    std::stable_sort(ordre.begin(), ordre.end(), [&](std::size_t a, std::size_t b) {
        return rangde[static_cast<std::size_t>(hs[a].piste)] <
               rangde[static_cast<std::size_t>(hs[b].piste)];
    });
    std::vector<QPoint> c2;
    std::vector<QSize> t2;
    for (std::size_t k : ordre) {
        c2.push_back(centres[k]);
        t2.push_back(tailles[k]);
    }
    const std::vector<QRect> boites = placenoms(c2, t2, rayon, QRect(0, 0, L, H));
    tx.places = boites;
    for (std::size_t j = 0; j < ordre.size(); ++j) {
        const Tete& h = hs[ordre[j]];
        const Piste& p = rj.pistes[static_cast<std::size_t>(h.piste)];
        const QRect& r = boites[j];
        const QColor c = QColor::fromRgb(versqrgb(p.couleur));
        // A name set away from its head is tied to it.
        const QPoint centre = c2[j];
        if (std::hypot(r.center().x() - centre.x(), r.center().y() - centre.y()) >
            rayon + r.width() / 2.0 + r.height() + 4) {
            pe.setPen(QPen(c, 1.5));
            pe.drawLine(centre, QPoint(std::clamp(centre.x(), r.left(), r.right()),
                                       std::clamp(centre.y(), r.top(), r.bottom())));
        }
        pe.setPen(QPen(c, 1.5));
        pe.setBrush(QColor(255, 255, 255, 215));
        pe.drawRoundedRect(QRectF(r).adjusted(0.5, 0.5, -0.5, -0.5), 3, 3);
        pe.setPen(Qt::black);
        pe.drawStaticText(r.left() + 4, r.top() + 2, tx.texte(p.nom));
    }

    // The ranking, placed as the legend is.
    if (rj.classement && !rangs.empty()) {
        const QStringList lignes = lignesclassement(e, t);
        const int hl = QFontMetrics(police).height() + 2;
        int largeur = 0;
        for (const QString& l : lignes)
            largeur = std::max(largeur, static_cast<int>(std::ceil(tx.texte(l).size().width())));
        const QRect boite(rj.classx, rj.classy, largeur + 28,
                          hl * static_cast<int>(lignes.size()) + 8);
        pe.setPen(Qt::NoPen);
        pe.setBrush(QColor(255, 255, 255, 200));
        pe.drawRoundedRect(boite, 4, 4);
        for (int k = 0; k < lignes.size(); ++k) {
            const Piste& p =
                rj.pistes[static_cast<std::size_t>(rangs[static_cast<std::size_t>(k)].tete.piste)];
            const int y = boite.top() + 4 + k * hl;
            pe.setPen(Qt::NoPen);
            pe.setBrush(QColor::fromRgb(versqrgb(p.couleur)));
            pe.drawEllipse(QPointF(boite.left() + 11, y + hl / 2.0), 5, 5);
            pe.setPen(Qt::black);
            pe.drawStaticText(boite.left() + 20, y + 1, tx.texte(lignes[k]));
        }
    }
}
