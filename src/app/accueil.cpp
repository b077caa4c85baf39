#include "app/accueil.h"

#include "app/libelles.h"

#include <QDir>
#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QStandardPaths>
#include <QVBoxLayout>

namespace {

const QString CARTEDEMO = QStringLiteral("demo/carte.bmp");

} // namespace

Accueil::Accueil(Libelles& t, QWidget* vue) : QFrame(vue) {
    setObjectName(QStringLiteral("accueil"));
    setFrameShape(QFrame::StyledPanel);
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, QColor(250, 250, 245));
    p.setColor(QPalette::WindowText, QColor(30, 30, 30));
    setPalette(p);

    titre = new QLabel(this);
    titre->setObjectName(QStringLiteral("accueiltitre"));
    QFont f = titre->font();
    f.setPixelSize(18);
    f.setBold(true);
    titre->setFont(f);
    t.texte(titre, 262, QStringLiteral("Pour commencer"));
    texte = new QLabel(this);
    texte->setObjectName(QStringLiteral("accueiltexte"));
    texte->setWordWrap(true);
    QFont g = texte->font();
    g.setPixelSize(13);
    texte->setFont(g);
    t.texte(texte, 263,
            QStringLiteral("Ouvrez une carte : une image où la route est peinte d'une seule "
                           "couleur. Vous pouvez aussi la déposer sur la fenêtre, ou ouvrir la "
                           "démo pour voir un projet fini."));
    ouvrir = new QPushButton(this);
    ouvrir->setObjectName(QStringLiteral("accueilouvrir"));
    t.texte(ouvrir, 264, QStringLiteral("Ouvrir une carte..."));
    demo = new QPushButton(this);
    demo->setObjectName(QStringLiteral("accueildemo"));
    t.texte(demo, 265, QStringLiteral("Ouvrir la démo"));
    t.bulle(demo, 266,
            QStringLiteral("Une copie du projet de démonstration, que vous pouvez changer"));
    for (QPushButton* b : {ouvrir, demo}) {
        b->setFont(g);
        b->setMinimumHeight(30);
    }

    auto* boutons = new QHBoxLayout;
    boutons->addWidget(ouvrir);
    boutons->addWidget(demo);
    auto* tout = new QVBoxLayout(this);
    tout->setContentsMargins(24, 18, 24, 18);
    tout->setSpacing(12);
    tout->addWidget(titre);
    tout->addWidget(texte);
    tout->addLayout(boutons);
    setFixedWidth(420);
    vue->installEventFilter(this);
    centre();
}

bool Accueil::eventFilter(QObject* objet, QEvent* ev) {
    if (objet == parent() && ev->type() == QEvent::Resize) centre();
    return false;
}

void Accueil::centre() {
    adjustSize();
    const auto* vue = parentWidget();
    move((vue->width() - width()) / 2, (vue->height() - height()) / 2);
}

QString cartedemo(const QString& dossierprog) {
    const QDir prog(dossierprog);
    // A build folder holds a copy beside the program; an installed program lives in
    // <prefix>/bin and its data in <prefix>/share/vialume.
    const QString candidats[] = {
        prog.filePath(CARTEDEMO),
        QDir::cleanPath(prog.filePath(QStringLiteral("../share/vialume/") + CARTEDEMO)),
        QStandardPaths::locate(QStandardPaths::GenericDataLocation,
                               QStringLiteral("vialume/") + CARTEDEMO),
    };
    for (const QString& chemin : candidats)
        if (!chemin.isEmpty() && QFileInfo(chemin).isFile()) return chemin;
    return {};
}

bool copiedemo(const QString& carte, QString& copie, QString& erreur) {
    const QDir source = QFileInfo(carte).absoluteDir();
    const QString cible = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
                          QStringLiteral("/vialume/demo");
    copie = cible + u'/' + QFileInfo(carte).fileName();
    if (!QDir().mkpath(cible)) {
        erreur = QDir::toNativeSeparators(cible);
        return false;
    }
    // Files already there are the user's copy, maybe changed: they are kept.
    for (const QFileInfo& f : source.entryInfoList(QDir::Files)) {
        const QString vers = cible + u'/' + f.fileName();
        if (QFileInfo::exists(vers)) continue;
        if (!QFile::copy(f.absoluteFilePath(), vers)) {
            erreur = QDir::toNativeSeparators(vers);
            return false;
        }
        // Copied from a read-only install, the copy must be the user's to change.
        QFile(vers).setPermissions(QFile(vers).permissions() | QFileDevice::WriteOwner);
    }
    return true;
}
