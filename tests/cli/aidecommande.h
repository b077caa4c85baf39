// What the command-line tests share with the window's: the built program run as a user runs it,
// and a small map and project to run it on.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

struct Sortie {
    int code = -1;
    QByteArray out, err;
};

// Runs the built program with `args`, without a display or a session; code -1 when it crashed
// or did not end within two minutes.
Sortie lancevialume(const QStringList& args);

// A map of 800 x 600 in grey with a one-pixel red line from (100, 300) to (199, 300) and a
// blue pixel pair at (760, 100)-(761, 100), right of the first frame's view (columns 0 to 719).
QString dessinecarte(const QString& dossier, const QString& nom = QStringLiteral("carte.bmp"));

// A project for the map: a route of 30 points in two segments, a film of 20 frames at 10 frames
// per second with three keyframes, the legend on; saved with the core's writer.
bool faisprojet(const QString& carte);

// The files of a folder, by name.
QStringList fichiers(const QString& dossier);

// A file's bytes; empty when it cannot be read.
QByteArray contenu(const QString& chemin);
