// Recent maps and dropped maps: both open a map as "Charger" does, question first.
#include "aide_fenetre.h"

#include <QAction>
#include <QCheckBox>
#include <QDropEvent>
#include <QFile>
#include <QImage>
#include <QMenu>
#include <QMimeData>
#include <QTest>
#include <QToolButton>
#include <QUrl>

namespace {

// The question before a changed project is dropped.
QString quitter(const QString& projet) {
    return QStringLiteral("Le projet %1 a des modifications non enregistrées.\nLes enregistrer ?")
        .arg(projet);
}

QString image(const QString& dossier, const QString& nom) {
    QImage img(720, 576, QImage::Format_RGB32);
    img.fill(qRgb(1, 2, 3));
    const QString chemin = dossier + QLatin1Char('/') + nom;
    img.save(chemin, "BMP");
    return chemin;
}

// The entries the menu of "Récentes" shows when it opens.
QStringList menu(Banc& b) {
    QMenu* m = b->Recents->menu();
    emit m->aboutToShow();
    QStringList l;
    for (QAction* a : m->actions())
        l << a->text();
    return l;
}

void depose(Banc& b, const QString& chemin) {
    QMimeData donnees;
    donnees.setUrls({QUrl::fromLocalFile(chemin)});
    QDragEnterEvent entree(QPoint(10, 10), Qt::CopyAction, &donnees, Qt::LeftButton,
                           Qt::NoModifier);
    QApplication::sendEvent(b.f.get(), &entree);
    QVERIFY(entree.isAccepted());
    QDropEvent depot(QPointF(10, 10), Qt::CopyAction, &donnees, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(b.f.get(), &depot);
    // The load waits for the drag to be over.
    QCoreApplication::processEvents();
}

} // namespace

class TstRecents : public QObject {
    Q_OBJECT

  private slots:
    // Ten at most, the last opened first, each once; a map that is gone is not offered.
    void dixDernieres() {
        Banc b;
        QCOMPARE(menu(b), QStringList(QStringLiteral("(aucune)")));
        QStringList chemins;
        for (int i = 0; i < 12; ++i)
            chemins << image(b.dossier.path(), QStringLiteral("c%1.bmp").arg(i));
        for (const QString& c : chemins)
            b->chargecarte(c);
        b->chargecarte(chemins[5]);
        QStringList attendu{chemins[5], chemins[11], chemins[10], chemins[9], chemins[8],
                            chemins[7], chemins[6],  chemins[4],  chemins[3], chemins[2]};
        QCOMPARE(b->recentes(), attendu);
        QVERIFY(QFile::remove(chemins[11]));
        attendu.removeAt(1);
        QCOMPARE(b->recentes(), attendu);
        QCOMPARE(menu(b).first(), QStringLiteral("c5.bmp"));
        // Another window (another run of the program) sees them.
        Banc autre;
        QCOMPARE(autre->recentes(), attendu);
    }

    // A choice in the menu opens that map, asking first when the project has changed.
    void choixDansLeMenu() {
        Banc b;
        const QString a = image(b.dossier.path(), QStringLiteral("a.bmp"));
        const QString c = image(b.dossier.path(), QStringLiteral("c.bmp"));
        b->chargecarte(a);
        b->chargecarte(c);
        b->montre->setChecked(true);
        menu(b);
        QAction* entree = b->Recents->menu()->actions().value(1);
        QVERIFY(entree);
        QCOMPARE(entree->text(), QStringLiteral("a.bmp"));
        entree->trigger(); // Annuler
        QCOMPARE(b->e().fichiercarte, QStringLiteral("c.bmp"));
        b.d.choixfermeture << Dialogues::Fermeture::abandonner;
        entree->trigger();
        QCOMPARE(b->e().fichiercarte, QStringLiteral("a.bmp"));
        QCOMPARE(b.d.fermetures, (QStringList{quitter("c.vlp"), quitter("c.vlp")}));
        QCOMPARE(b->e().bordnb, QStringLiteral("30"));
    }

    // A dropped map opens as "Charger" does, with the same question over a changed project.
    void depot() {
        Banc b;
        const QString a = image(b.dossier.path(), QStringLiteral("a.bmp"));
        const QString c = image(b.dossier.path(), QStringLiteral("c.bmp"));
        depose(b, a);
        QCOMPARE(b->e().fichiercarte, QStringLiteral("a.bmp"));
        QVERIFY(b.d.fermetures.isEmpty());
        b->montre->setChecked(true);
        depose(b, c);
        QCOMPARE(b->e().fichiercarte, QStringLiteral("a.bmp"));
        QCOMPARE(b.d.fermetures, QStringList(quitter("a.vlp")));
        QCOMPARE(b->recentes().first(), a);
    }
};

QTEST_MAIN(TstRecents)
#include "tst_recents.moc"
