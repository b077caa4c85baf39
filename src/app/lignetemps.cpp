#include "app/lignetemps.h"

#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QToolTip>

#include <algorithm>

namespace {

// Steps of the ruler, in seconds; the first that leaves ticks this far apart is taken.
constexpr int PAS[] = {1, 2, 5, 10, 15, 30, 60, 120, 300, 600};
constexpr int ECARTMIN = 6; // pixels

int ips(const Etat& e) {
    return std::max(e.ips, 1);
}

class BulleTemps : public QObject {
  public:
    BulleTemps(const Etat& e, QObject* parent) : QObject(parent), etat(e) {}

  protected:
    bool eventFilter(QObject* o, QEvent* ev) override {
        if (ev->type() != QEvent::ToolTip) return false;
        QToolTip::showText(static_cast<QHelpEvent*>(ev)->globalPos(),
                           traduit(etat, 353,
                                   QStringLiteral("Temps de l'image affichée, en "
                                                  "secondes:images (ss:ii)")),
                           static_cast<QWidget*>(o));
        return true;
    }

  private:
    const Etat& etat;
};

} // namespace

QString tempsimage(const Etat& e, int image) {
    const int dixiemes = (image * 10 + ips(e) / 2) / ips(e);
    return traduit(e, 354, QStringLiteral("%1,%2 s — image %3"))
        .arg(dixiemes / 10)
        .arg(dixiemes % 10)
        .arg(image);
}

void bulletemps(QWidget* wtl, const Etat& etat) {
    wtl->installEventFilter(new BulleTemps(etat, wtl));
}

LigneTemps::LigneTemps(const Etat& etat, QWidget* parent) : QSlider(parent), etat(etat) {}

void LigneTemps::majregle() {
    const int secondes = std::max(maximum() - minimum(), 1) / ips(etat);
    const int largeur = std::max(width() - 20, 1);
    pas = PAS[std::size(PAS) - 1];
    for (const int p : PAS)
        if (secondes == 0 ||
            static_cast<long long>(largeur) * p / std::max(secondes, 1) >= ECARTMIN) {
            pas = p;
            break;
        }
    setTickInterval(pas * ips(etat));
}

int LigneTemps::xde(int image) const {
    QStyleOptionSlider o;
    initStyleOption(&o);
    const QRect rail =
        style()->subControlRect(QStyle::CC_Slider, &o, QStyle::SC_SliderGroove, this);
    const QRect poignee =
        style()->subControlRect(QStyle::CC_Slider, &o, QStyle::SC_SliderHandle, this);
    const int l = poignee.width();
    return rail.x() + l / 2 +
           QStyle::sliderPositionFromValue(minimum(), maximum(), image, rail.width() - l,
                                           o.upsideDown);
}

int LigneTemps::ymarque() const {
    QStyleOptionSlider o;
    initStyleOption(&o);
    const QRect rail = style()->subControlRect(QStyle::CC_Slider, &o, QStyle::SC_SliderGroove, this);
    return std::max(0, rail.top() - HAUTMARQUE - 2);
}

int LigneTemps::clesous(QPoint p) const {
    const int y = ymarque();
    if (p.y() < y - 1 || p.y() > y + HAUTMARQUE + 1) return -1;
    int meilleure = -1, ecart = 5;
    for (int k = 0; k < std::min(etat.nbcle, MAXCLE); ++k) {
        const int d = std::abs(xde(etat.cleimg[k]) - p.x());
        if (d <= ecart) {
            ecart = d;
            meilleure = k;
        }
    }
    return meilleure;
}

void LigneTemps::paintEvent(QPaintEvent* ev) {
    QSlider::paintEvent(ev);
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    // A small triangle pointing down to the groove at each keyframe, below the ruler's ticks.
    p.setPen(QPen(QColor(90, 40, 0), 1));
    p.setBrush(QColor(240, 130, 20));
    const double y = ymarque() + 0.5;
    for (int k = 0; k < std::min(etat.nbcle, MAXCLE); ++k) {
        const double x = xde(etat.cleimg[k]) + 0.5;
        const QPointF t[] = {{x - 4, y}, {x + 4, y}, {x, y + HAUTMARQUE}};
        p.drawPolygon(t, 3);
    }
}

void LigneTemps::mousePressEvent(QMouseEvent* ev) {
    const int k = ev->button() == Qt::LeftButton ? clesous(ev->position().toPoint()) : -1;
    if (k < 0) {
        QSlider::mousePressEvent(ev);
        return;
    }
    setValue(etat.cleimg[k]);
    ev->accept();
}

bool LigneTemps::event(QEvent* ev) {
    if (ev->type() != QEvent::ToolTip) return QSlider::event(ev);
    const auto* h = static_cast<QHelpEvent*>(ev);
    QString texte;
    if (const int k = clesous(h->pos()); k >= 0) {
        texte = traduit(etat, 355, QStringLiteral("Image clé %1 : %2 (un clic y va)"))
                    .arg(k + 1)
                    .arg(tempsimage(etat, etat.cleimg[k]));
    } else {
        QStyleOptionSlider o;
        initStyleOption(&o);
        const QRect rail =
            style()->subControlRect(QStyle::CC_Slider, &o, QStyle::SC_SliderGroove, this);
        const int l =
            style()->subControlRect(QStyle::CC_Slider, &o, QStyle::SC_SliderHandle, this).width();
        const int image = QStyle::sliderValueFromPosition(
            minimum(), maximum(), h->pos().x() - rail.x() - l / 2, rail.width() - l, o.upsideDown);
        texte = tempsimage(etat, image);
    }
    QToolTip::showText(h->globalPos(), texte, this);
    return true;
}
