// Parameters file and exports: the save and load of a project, the bitmap sequence, the single
// bitmap and the video. The core writes; the window asks, shows progress and reports.
#include "app/dialoguesqt.h"
#include "app/tform1.h"
#include "export/bmp.h"
#include "export/film.h"
#include "project/imageprojet.h"
#include "project/parametres.h"
#include "project/verrou.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QFileInfo>
#include <QProgressDialog>

namespace {

const QString SAUVE = QStringLiteral("Fichier sauvé");

// How a run of export steps ended.
struct Fin {
    std::optional<QString> erreur; // the failing frame's message
    bool interrompu = false;       // the user pressed Cancel
};

// The state after an export step, into the controls. The step has composed its frame already;
// synchro() moves the time line silently, so it is not composed again.
void montre(TForm1& f) {
    f.synchro();
    f.presente();
}

// Runs an export one frame per step under a window-modal progress dialog: the window paints
// between frames, and no other control acts on the time line meanwhile. Cancel is taken once the
// frame in hand is written.
template <class Export> Fin deroule(TForm1& f, Export& x, const QString& titre) {
    f.stopClick();
    QProgressDialog p(titre, QStringLiteral("Annuler"), 0, x.total(), &f);
    p.setWindowTitle(TITREAPPLI);
    p.setWindowModality(Qt::WindowModal);
    p.setMinimumDuration(0);
    p.setAutoClose(false);
    p.setAutoReset(false);
    p.show();
    Fin fin;
    while (!x.fini()) {
        QCoreApplication::processEvents();
        if (p.wasCanceled()) {
            fin.interrompu = true;
            break;
        }
        fin.erreur = x.etape();
        montre(f);
        p.setLabelText(
            QStringLiteral("%1\nImage %2 sur %3").arg(titre).arg(x.faites()).arg(x.total()));
        p.setValue(x.faites());
        if (fin.erreur) break;
    }
    return fin;
}

// "de l'image x.bmp", or "d'une autre image" when the file only says it is a BMP map's.
QString delimage(const Appartenance& a) {
    return a.image.isEmpty() ? QStringLiteral("d'une autre image")
                             : QStringLiteral("de l'image %1").arg(a.image);
}

QString remplace(const Etat& e, const Appartenance& a) {
    return QStringLiteral("Le fichier paramètres %1 est celui %2 : le remplacer ?")
        .arg(e.fichierparam, delimage(a));
}

QString interrompu(const Etat& e) {
    return QStringLiteral("Export interrompu à l'image %1").arg(e.tl);
}

} // namespace

void TForm1::sauverClick() {
    if (sanscarte()) return;
    // "x.bmp" and "x.jpg" share "x.vlp": the other picture's project is not replaced unasked.
    const Appartenance a = imagedufichier(*etat);
    if (a.autre(etat->fichiercarte) && !dialogues.confirmation(remplace(*etat, a))) return;
    // A trace from the command line may be saving the same project: wait a little for it.
    Verrou verrou(cheminparametres(*etat));
    if (const std::optional<QString> occupe = verrou.prend(2000)) {
        dialogues.erreur(*occupe);
        return;
    }
    QString erreur;
    if (!sauveparametres(*etat, erreur)) {
        dialogues.erreur(erreur);
        return;
    }
    retiens();
    affiche(SAUVE, 61);
}

void TForm1::retiens() {
    reference = etat->fichiercarte.isEmpty() ? QByteArray() : ecrisparametres(*etat);
    majtitre();
}

bool TForm1::modifie() const {
    // Comparing what would be written sees every change, and none that was undone by hand.
    return !etat->fichiercarte.isEmpty() && ecrisparametres(*etat) != reference;
}

bool TForm1::abandonne() {
    if (!modifie()) return true;
    switch (dialogues.question(QStringLiteral("Quitter sans sauver ?"))) {
    case Dialogues::Choix::oui:
        return true;
    case Dialogues::Choix::non:
        // Saved first; a failed save keeps the project open.
        sauverClick();
        return !modifie();
    case Dialogues::Choix::annuler:
        return false;
    }
    return false;
}

QString TForm1::dossierexport(Sortie s) const {
    return dossiers[s].isEmpty() ? etat->dossiercarte : dossiers[s];
}

void TForm1::retiensdossier(Sortie s, const QString& fichier) {
    dossiers[s] = QFileInfo(fichier).absolutePath();
}

// Called by the map load when the map's parameters file exists. A file that cannot be read is
// refused whole and the project stays as it was.
void TForm1::litparametres() {
    // A project of another picture sharing the file's name is named in the question.
    const Appartenance a = imagedufichier(*etat);
    const QString question =
        !a.autre(etat->fichiercarte)
            ? traduit(*etat, 23, QStringLiteral("Il y a fichier paramètres on le charge ?"))
            : QStringLiteral("Il y a un fichier paramètres, celui %1 : on le charge ?")
                  .arg(delimage(a));
    if (!dialogues.confirmation(question)) return;
    QStringList messages;
    if (const std::optional<ErreurLecture> erreur = chargeprojet(*etat, surf, messages)) {
        dialogues.erreur(erreur->message);
        return;
    }
    synchro();
    redessine();
    retiens();
    // A loaded project is a step: it can be undone back to the map without it.
    note();
    // Already in the language of the table.
    for (const QString& m : messages)
        affiche(m, -1);
}

void TForm1::SuiteClick() {
    if (sanscarte()) return;
    const std::optional<QString> choix =
        dialogues.enregistrer(filtresauve, dossierexport(sortiesuite));
    if (!choix) return;
    retiensdossier(sortiesuite, *choix);
    // A name that starts with "." leaves no base: nothing is written and nothing said.
    const std::optional<QString> prefixe = prefixesuite(*choix);
    if (!prefixe) return;
    ExportSuite suite(*etat, surf, *prefixe);
    const Fin fin = deroule(*this, suite, QStringLiteral("Suite BMP"));
    if (fin.erreur)
        dialogues.erreur(*fin.erreur);
    else if (fin.interrompu)
        dialogues.message(interrompu(*etat));
    else
        affiche(QStringLiteral("Suite BMP OK"), 54);
}

// Nothing is composed: the file holds what the view shows.
void TForm1::Button3Click() {
    if (sanscarte()) return;
    const std::optional<QString> choix =
        dialogues.enregistrer(filtresauve, dossierexport(sortiebmp));
    if (!choix) return;
    retiensdossier(sortiebmp, *choix);
    const std::optional<QString> chemin = fichierbmp(*choix);
    if (!chemin) return;
    if (const std::optional<QString> refus = fichierduprojet(*etat, *chemin)) {
        dialogues.erreur(*refus);
        return;
    }
    if (const std::optional<QString> erreur = ecritbmp(surf.vue, *chemin)) {
        dialogues.erreur(*erreur);
        return;
    }
    affiche(SAUVE, 61);
}

// The video's messages are shown as they stand, in French whatever the language, but for the
// last one.
void TForm1::Button11Click() {
    if (etat->fichiercarte.isEmpty()) {
        // Shown as it stands, without the language table.
        dialogues.message(QStringLiteral("Charger d'abord une image"));
        return;
    }
    // AVI first, as ever; the other formats by the name's extension. The bitmap dialogs go on
    // sharing the AVI filter.
    filtresauve = QStringLiteral("Vidéo|*.avi");
    const std::optional<QString> choix = dialogues.enregistrer(
        filtresauve + QStringLiteral("|MP4 (H.264)|*.mp4|WebM (VP9)|*.webm|MKV|*.mkv|MOV|*.mov|"
                                     "GIF|*.gif|APNG|*.apng|Suite PNG|*.png"),
        dossierexport(sortievideo));
    if (!choix) return;
    retiensdossier(sortievideo, *choix);
    const std::optional<Format> format = formatdepuisnom(*choix);
    if (format == Format::png) {
        exportepng(*choix);
        return;
    }
    ExportVideo video(*etat, surf);
    std::optional<QString> erreur;
    if (format && *format != Format::avi) {
        OptionsFilm options;
        options.transparent = transparentfilm->isChecked();
        erreur = video.ouvre(*choix, *format, options);
    } else {
        // Cancelling the codec choice goes on with the options the dialog opened on.
        OptionsVideo options;
        dialogues.optionsvideo(options);
        erreur = video.ouvre(fichiervideo(*choix), options);
    }
    if (erreur) {
        dialogues.message(*erreur);
        return;
    }
    const Fin fin = deroule(*this, video, QStringLiteral("Vidéo"));
    // Closed in every case, so that a file stopped early plays up to its last frame.
    const std::optional<QString> fermeture = video.ferme();
    if (fin.erreur || fermeture)
        dialogues.message(fin.erreur ? *fin.erreur : *fermeture);
    else if (fin.interrompu)
        dialogues.message(
            interrompu(*etat) +
            (video.ancien()
                 ? QStringLiteral("\nLe fichier d'avant est gardé : %1").arg(fichiervideo(*choix))
                 : QString()));
    else
        affiche(SAUVE, 61);
}

// "Suite PNG" in the video dialog: frames 0 to N under the name without its ".png".
void TForm1::exportepng(const QString& nom) {
    const QString prefixe = nom.left(nom.size() - 4);
    ExportPng suite(*etat, surf, prefixe, transparentfilm->isChecked());
    const Fin fin = deroule(*this, suite, QStringLiteral("Suite PNG"));
    if (fin.erreur)
        dialogues.message(*fin.erreur);
    else if (fin.interrompu)
        dialogues.message(interrompu(*etat));
    else
        affiche(SAUVE, 61);
}
