// Reads a video file back with libavformat and libavcodec, every frame as an RGB32 picture.
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
    QList<long long> cles; // key frames, as frame numbers counted from the first
};

// With `alpha` the pictures keep the film's alpha channel (QImage::Format_ARGB32).
Relue relis(const QString& chemin, bool alpha = false);

// The picture as a 4:2:0 film holds it before any encoding (the exporter's own conversion, read
// back as relis() reads): what an encoder is to be measured against.
QImage par420(const QImage& img);
