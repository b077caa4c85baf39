// Map and display picture: the open dialogs, the view offsets, the "Visu" switch and dropped files.
// The loading itself is the core's; the window shows its messages and mirrors the state it left.
#include "app/hautbas.h"
#include "app/tform1.h"
#include "app/travail.h"
#include "app/vue.h"
#include "map/image.h"
#include "project/carte.h"

#include <QCheckBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QTimer>
#include <QUrl>

namespace {

const QString FILTRECARTE = QStringLiteral("Carte BMP|*.bmp");

// The one local file of a drag, or nothing: several files at once are not a map.
QString fichierdepose(const QMimeData* donnees) {
    if (!donnees || !donnees->hasUrls()) return {};
    const QList<QUrl> liens = donnees->urls();
    if (liens.size() != 1 || !liens.front().isLocalFile()) return {};
    return liens.front().toLocalFile();
}

} // namespace

bool TForm1::signale(const Chargement& r) {
    switch (r.issue) {
    case Chargement::ok:
        return true;
    case Chargement::refus:
        affiche(r.message, r.entree);
        return false;
    case Chargement::illisible:
        dialogues.erreur(r.message);
        return false;
    }
    return false;
}

void TForm1::embout30() {
    etat->updown1 = 30;
    etat->bordnb = QStringLiteral("30");
    UpDown1->setValue(30);
    bordnb->setText(etat->bordnb);
}

void TForm1::ChargerClick() {
    // Asked before anything changes: the tip length below is a change of the project.
    if (!abandonne()) return;
    // Every click brings the tip length back to 30, also when the dialog is then cancelled.
    embout30();
    const std::optional<QString> chemin =
        dialogues.ouvrir(filtreimages(FILTRECARTE), etat->dossiercarte);
    if (!chemin) return;
    chargecarte(*chemin);
}

void TForm1::finchargecarte(const QString& chemin, LectureCarte l) {
    const Chargement r = prendcarte(*etat, surf, chemin, std::move(l));
    // A refused picture has blackened the view; an unreadable one changed nothing.
    synchro();
    presente();
    if (r.issue != Chargement::illisible) {
        retiens();
        oublie();
    }
    if (!signale(r)) return;
    ajouterecente(chemin);
    if (r.parametres) litparametres();
}

void TForm1::AsclChange(int position) {
    etat->ascl = position;
    redessine();
    montrecarte();
}

void TForm1::AschChange(int position) {
    etat->asch = position;
    redessine();
    montrecarte();
}

void TForm1::Button12Click() {
    if (etat->fichiercarte.isEmpty()) {
        affiche(QStringLiteral("Une image pour le calcul avant"), 62);
        return;
    }
    const std::optional<QString> chemin =
        dialogues.ouvrir(filtreimages(FILTRECARTE), etat->dossiercarte);
    if (!chemin) return;
    lisvisu(*chemin, [this, chemin = *chemin](Lue l) {
        const Chargement r = prendvisu(*etat, surf, chemin, std::move(l));
        synchro();
        presente();
        signale(r);
    });
}

void TForm1::CheckClick() {
    const bool coche = Check->isChecked();
    lisvisu(cheminbascule(*etat, coche), [this, coche](Lue l) {
        const Chargement r = prendbascule(*etat, surf, coche, std::move(l));
        // The switch falls back to unchecked when the display picture cannot be shown.
        synchro();
        presente();
        signale(r);
    });
}

void TForm1::dragEnterEvent(QDragEnterEvent* ev) {
    // Not while long work holds the window.
    if (travaux->actif()) return;
    if (!fichierdepose(ev->mimeData()).isEmpty()) ev->acceptProposedAction();
}

void TForm1::dropEvent(QDropEvent* ev) {
    const QString chemin = fichierdepose(ev->mimeData());
    if (chemin.isEmpty()) return;
    ev->acceptProposedAction();
    // Load once the drag is over: the source must not wait on a message box of ours.
    // A dropped map is opened as by "Charger", tip length included.
    QTimer::singleShot(0, this, [this, chemin] { ouvrerecente(chemin); });
}
