#include "aidecommande.h"

#include "cli/commande.h"
#include "project/parametres.h"
#include "timeline/temps.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>

Sortie lancevialume(const QStringList& args) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    // The sub-commands must pick a platform themselves.
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    // A machine without a session: nothing but the program's words on standard error.
    env.remove(QStringLiteral("XDG_RUNTIME_DIR"));
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(VIALUME_EXE), args);
    if (!p.waitForFinished(120000)) return {};
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, p.readAllStandardOutput(),
            p.readAllStandardError()};
}

QString dessinecarte(const QString& dossier, const QString& nom) {
    QImage img(800, 600, QImage::Format_RGB32);
    img.fill(qRgb(128, 128, 128));
    for (int x = 100; x < 200; ++x)
        img.setPixel(x, 300, qRgb(255, 0, 0));
    img.setPixel(760, 100, qRgb(0, 0, 255));
    img.setPixel(761, 100, qRgb(0, 0, 255));
    const QString chemin = dossier + QLatin1Char('/') + nom;
    if (!img.save(chemin, "BMP")) return {};
    return chemin;
}

bool faisprojet(const QString& carte) {
    auto etat = nouveletat();
    Etat& e = *etat;
    Surfaces surf;
    if (ouvreprojet(e, surf, carte)) return false;
    for (int i = 0; i < 30; ++i) {
        e.ptx[i] = 100 + i;
        e.pty[i] = 300;
        e.ptcoul[i] = i < 20 ? 0x0000ff : 0x00ff00;
        e.pttron[i] = i < 20 ? 0 : 1;
    }
    e.nbpt = 29;
    e.cipsindex = 0;
    if (changeips(e, QStringLiteral("10 images/secondes"))) return false;
    e.nbi = QStringLiteral("20");
    majduree(e);
    majcles(e);
    e.tl = 10;
    e.ascl = 40;
    e.asch = 12;
    majmodecle(e);
    creecle(e);
    e.tl = 0;
    majmodecle(e);
    e.montre = true;
    e.unite = AUTRE;
    e.txtautre = QStringLiteral("lieues");
    e.lkm = QStringLiteral("90");
    QString erreur;
    return sauveparametres(e, erreur);
}

QStringList fichiers(const QString& dossier) {
    return QDir(dossier).entryList(QDir::Files, QDir::Name);
}

QByteArray contenu(const QString& chemin) {
    QFile f(chemin);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
