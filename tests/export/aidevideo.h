// Reads an AVI file back with libavformat and libavcodec, every frame as an RGB32 picture.
#pragma once

#include <QImage>
#include <QList>
#include <QString>

struct Relue {
    QString erreur; // empty when the whole file decoded
    QString codec;  // FFmpeg's codec name
    int largeur = 0, hauteur = 0;
    int ipsnum = 0, ipsden = 0; // the stream's frame rate
    long long declarees = 0;    // frames the header declares
    QList<QImage> images;
};

Relue relis(const QString& chemin);
