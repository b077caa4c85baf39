// Long work in the window: a large map or display picture read, the map without its route made
// and written, a big GPS track imported, the walk over a large map computed. Each runs away from
// the window's thread (travail.h) and comes back to it to change the project; smaller ones take
// less than a frame's time and are done in place, as they always were.
#include "app/tform1.h"
#include "app/travail.h"
#include "app/vue.h"

#include "project/carte.h"
#include "route/sanschemin.h"
#include "route/traceur.h"

#include <QImageReader>

bool TForm1::grand(const QString& image) const {
    if (image.isEmpty()) return qint64(surf.carte.largeur()) * surf.carte.hauteur() >= seuiltravail;
    // The header only; a picture whose size cannot be told is refused quickly by the reader.
    const QSize t = QImageReader(image).size();
    return t.isValid() && qint64(t.width()) * t.height() >= seuiltravail;
}

void TForm1::chargecarte(const QString& chemin) {
    if (travaux->actif()) return;
    if (!grand(chemin)) {
        finchargecarte(chemin, litcarte(chemin, etat->film, etat->ips));
        return;
    }
    stopClick();
    travail().lance(traduit(*etat, 357, QStringLiteral("Lecture de la carte")),
                    [this, chemin, film = etat->film, ips = etat->ips](const Avance& av) {
                        auto l = std::make_shared<LectureCarte>(litcarte(chemin, film, ips));
                        // The small map is made here too: reducing a large map takes long.
                        const QImage r = arrete(&av) ? QImage() : Vue::reduis(l->lue.image.image());
                        return Travail::Suite([this, chemin, l, r] {
                            finchargecarte(chemin, std::move(*l));
                            if (!l->lue.ok) return;
                            reduite = r;
                            clereduite = surf.carte.image().cacheKey();
                        });
                    });
}

void TForm1::lisvisu(const QString& chemin, std::function<void(Lue)> suite) {
    if (travaux->actif()) return;
    if (chemin.isEmpty() || !grand(chemin)) {
        suite(chemin.isEmpty() ? Lue{} : lis(chemin));
        return;
    }
    stopClick();
    travail().lance(traduit(*etat, 358, QStringLiteral("Lecture de l'image de visu")),
                    [chemin, suite](const Avance&) {
                        auto l = std::make_shared<Lue>(lis(chemin));
                        return Travail::Suite([l, suite] { suite(std::move(*l)); });
                    });
}

void TForm1::lancesanschemin() {
    stopClick();
    // The work reads a copy: the project may not change meanwhile, but nothing is shared.
    auto copie = std::make_shared<Etat>(*etat);
    const QImage carte = surf.carte.image();
    travail().lance(traduit(*etat, 359, QStringLiteral("Carte sans chemin")),
                    [this, copie, carte](const Avance& av) -> Travail::Suite {
                        QString erreur;
                        QImage faite;
                        const bool fait = sauvesanschemin(carte, *copie, erreur, &av, &faite);
                        if (arrete(&av)) return {};
                        auto l = std::make_shared<Lue>();
                        l->ok = fait && l->image.prend(std::move(faite));
                        return
                            [this, fait, erreur, l] { finsanschemin(fait, erreur, std::move(*l)); };
                    });
}

void TForm1::finsanschemin(bool fait, const QString& erreur, Lue l) {
    if (!fait) {
        dialogues.erreur(erreur);
        return;
    }
    const Chargement r = prendvisu(*etat, surf, cheminsanschemin(*etat), std::move(l));
    synchro();
    presente();
    signale(r);
}

void TForm1::lancemarche(int x, int y) {
    auto copie = std::make_shared<Etat>(*etat);
    const QImage carte = surf.carte.image();
    const int maxi = traceur->limite();
    travail().lance(traduit(*etat, 360, QStringLiteral("Tracé sur la carte")),
                    [this, copie, carte, x, y, maxi](const Avance& av) -> Travail::Suite {
                        auto m =
                            std::make_shared<Marche>(prevoismarche(carte, *copie, x, y, maxi, &av));
                        // Cancelled: the trace still waits for its start click.
                        if (arrete(&av)) return {};
                        return [this, m, x, y] { demarremarche(x, y, std::move(*m)); };
                    });
}
