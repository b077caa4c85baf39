// Memory at the limits: a whole project whose pictures are as large as the program takes loads
// under 2 GB, and a magnifier scaled with the film stays within the size any magnifier is held to.
#include "aidepannes.h"

#include "map/image.h"
#include "project/cadrage.h"
#include "project/carte.h"
#include "project/parametres.h"
#include "timeline/temps.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

namespace {

// A 24-bit bitmap of l x h in one colour, written row by row.
bool bmp(const QString& chemin, int l, int h, quint8 gris) {
    QFile f(chemin);
    if (!f.open(QIODevice::WriteOnly)) return false;
    const qint64 ligne = (static_cast<qint64>(l) * 3 + 3) & ~qint64{3};
    QByteArray t(54, '\0');
    auto* o = reinterpret_cast<uchar*>(t.data());
    o[0] = 'B';
    o[1] = 'M';
    qToLittleEndian<quint32>(static_cast<quint32>(54 + ligne * h), o + 2);
    qToLittleEndian<quint32>(54, o + 10);
    qToLittleEndian<quint32>(40, o + 14);
    qToLittleEndian<qint32>(l, o + 18);
    qToLittleEndian<qint32>(h, o + 22);
    qToLittleEndian<quint16>(1, o + 26);
    qToLittleEndian<quint16>(24, o + 28);
    qToLittleEndian<quint32>(static_cast<quint32>(ligne * h), o + 34);
    f.write(t);
    const QByteArray r(ligne, static_cast<char>(gris));
    for (int y = 0; y < h; ++y)
        if (f.write(r) != r.size()) return false;
    return true;
}

} // namespace

class TstMemoire : public QObject {
    Q_OBJECT

  private slots:
    // A map and a display picture of 200 million pixels each, and a magnifier picture of that
    // size too, named by the project: the load stays under 2 GB, and says why the magnifier
    // could not be taken.
    void projetauxlimites() {
        QTemporaryDir d;
        const int l = 16000, h = 12500;
        QVERIFY(static_cast<long long>(l) * h <= MAXPIXELS);
        QVERIFY(bmp(d.filePath(QStringLiteral("carte.bmp")), l, h, 90));
        QVERIFY(bmp(d.filePath(QStringLiteral("fond.bmp")), l, h, 40));
        QVERIFY(bmp(d.filePath(QStringLiteral("loupe.bmp")), l, h, 0));
        {
            auto e = nouveletat();
            filmdepart(*e);
            e->dossiercarte = d.path() + u'/';
            e->fichiercarte = QStringLiteral("carte.bmp");
            e->fichierparam = QStringLiteral("carte.vlp");
            e->bordnb = QStringLiteral("30");
            e->fichiervisu = d.filePath(QStringLiteral("fond.bmp"));
            e->fichierloupe = d.filePath(QStringLiteral("loupe.bmp"));
            e->okloupe = true;
            QString erreur;
            QVERIFY2(sauveparametres(*e, erreur), qPrintable(erreur));
        }
        const Mesure m = mesure([&] {
            auto e = nouveletat();
            Surfaces s;
            filmdepart(*e);
            if (chargecarte(*e, s, d.filePath(QStringLiteral("carte.bmp"))).issue !=
                Chargement::ok)
                return QByteArray("carte");
            QStringList messages;
            if (chargeprojet(*e, s, messages)) return QByteArray("projet");
            return QByteArray::number(s.carte.pixel(1, 1)) + '|' + QByteArray::number(e->check) +
                   '|' + QByteArray::number(s.loupe.largeur()) + '|' +
                   messages.join(u'|').toUtf8();
        });
        QVERIFY(m.fini);
        qInfo("peak growth %lld MiB: %s", m.croissancemio, m.sortie.left(300).constData());
        const QList<QByteArray> r = m.sortie.split('|');
        QVERIFY(r.size() >= 4);
        QCOMPARE(r[0].toInt(), 0x282828); // the display picture is shown
        QCOMPARE(r[1], QByteArray("1"));
        QVERIFY(r[2].toInt() < l);             // the magnifier picture was not taken
        QVERIFY(r[3].contains("loupe.bmp"));   // ... and the load said why
        QVERIFY2(m.croissancemio < 2048, qPrintable(QString::number(m.croissancemio)));
    }

    // A magnifier scaled with the film's size is held to the size any magnifier picture is.
    void loupeagrandie() {
        QTemporaryDir d;
        QVERIFY(bmp(d.filePath(QStringLiteral("carte.bmp")), 8000, 4600, 90));
        QVERIFY(bmp(d.filePath(QStringLiteral("loupe.bmp")), 4000, 4000, 0));
        auto e = nouveletat();
        Surfaces s;
        filmdepart(*e);
        QCOMPARE(chargecarte(*e, s, d.filePath(QStringLiteral("carte.bmp"))).issue,
                 Chargement::ok);
        QCOMPARE(chargeloupe(*e, s, d.filePath(QStringLiteral("loupe.bmp"))).issue,
                 Chargement::ok);
        e->txloupe = 4000;
        QCOMPARE(changetaille(*e, s, 1920, 1080), std::nullopt);
        QCOMPARE(changetaille(*e, s, 7680, 4320), std::nullopt);
        const long long pixels = static_cast<long long>(s.loupe.largeur()) * s.loupe.hauteur();
        qInfo("magnifier %d x %d", s.loupe.largeur(), s.loupe.hauteur());
        QVERIFY(pixels <= MAXLOUPE + 2LL * s.loupe.largeur());
        QCOMPARE(s.tempo.largeur(), s.loupe.largeur());
        QCOMPARE(e->txloupemax, s.loupe.largeur());
        QVERIFY(e->txloupe <= e->txloupemax);
    }
};

QTEST_MAIN(TstMemoire)
#include "tst_memoire.moc"
