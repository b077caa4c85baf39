// GPS tracks from GPX 1.0 and 1.1 files: tracks with their segments, and routes, each point with
// its latitude, longitude and, when the file has them, elevation and time.
#pragma once

#include <QByteArrayView>
#include <QString>

#include <optional>
#include <variant>
#include <vector>

struct PointGps {
    double lat = 0, lon = 0; // degrees, WGS 84
    double alt = 0;          // metres, when `aalt`
    double temps = 0;        // seconds since 1970 UTC, when `atemps`
    bool aalt = false, atemps = false;
};

// One run of points: a track segment, or a route.
using SegmentGps = std::vector<PointGps>;

// A <trk> or <rte> of the file: its first segment in `segments`, and its <name>.
struct PisteGps {
    std::size_t premier = 0;
    QString nom;
};

struct TraceGps {
    std::vector<SegmentGps> segments; // in file order, none empty
    qsizetype nbpoints = 0;
    std::vector<PisteGps> pistes; // those with points, in file order
    // Every point has a time, times never go back and the last is later than the first: the
    // track can set the film's pace.
    bool temps() const;
    // Every point has a time and all the same one: a GPS whose clock did not run.
    bool horlogefigee() const;
    bool altitude() const; // every point has an elevation
};

// A file refused: the line at fault (0 when the file as a whole) and why, in French.
struct ErreurGeo {
    int ligne = 0;
    QString message;
};

using LectureGpx = std::variant<TraceGps, ErreurGeo>;

// Bounds that keep a hostile file from taking the machine: the size read and the points kept.
// Five million points are eight weeks of a point a second.
constexpr qsizetype MAXGPX = 256LL * 1024 * 1024;
constexpr qsizetype MAXPOINTSGPX = 5'000'000;

LectureGpx lisgpx(QByteArrayView octets);

// Point n of the track, counted from 1 in file order over all its segments; -1 is the last.
std::optional<PointGps> pointtrace(const TraceGps& t, qsizetype n);
// "@12", "@fin": a track point named where a latitude and longitude are expected; its number
// (-1 for the last), or nothing when the text is not such a name.
std::optional<qsizetype> nompoint(const QString& texte);
// The same from a file; a message then names the file.
LectureGpx chargegpx(const QString& chemin);
