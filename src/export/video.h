// Video export: the codecs this FFmpeg build can put in an AVI file, and the AVI writer, fed one
// composed view at a time.
#pragma once

#include "map/surface.h"

#include <QList>
#include <QString>

#include <memory>
#include <optional>

struct AVDictionary;

enum class Codec { rgb, mjpeg, ffv1, huffyuv, utvideo, mpeg4, h264 };

// What the compression dialog edits.
struct OptionsVideo {
    Codec codec = Codec::rgb; // every frame stored as is
    int qualite = 90;         // MJPEG, 1 (smallest) to 100 (best)
    int debit = 5000;         // MPEG-4 and H.264, kbit/s
    int cle = 1;              // a key frame every `cle` frames, for codecs with inter frames
};

struct CodecVideo {
    Codec codec;
    QString nom;   // what the dialog shows
    QString ligne; // the command line's name
    bool qualite;  // the quality applies
    bool debit;    // the data rate applies
    bool inter;    // it has inter frames, so the key frame interval applies
};

// The codecs of this build that can be written in AVI, uncompressed RGB first.
QList<CodecVideo> codecsvideo();
// A codec by its command-line name ("rgb", "mjpeg", ...), among those of codecsvideo().
// The command-line names of every codec this program knows, available in this build or not.
const QStringList& nomscodecs();
std::optional<Codec> codecdepuisnom(const QString& ligne);

// The delivery formats, chosen by the film's extension. AVI is the V1.50 film (see OptionsVideo);
// the others are written with FFmpeg's own encoders and muxers at sensible defaults.
enum class Format { avi, mp4, mkv, mov, webm, gif, apng, png };

// The format named by the extension of `chemin` (case does not matter), or nothing.
std::optional<Format> formatdepuisnom(const QString& chemin);
// Whether the format can carry an alpha channel (for the transparent overlay).
bool avecalpha(Format f);

struct OptionsFilm {
    int qualite = 60;  // 1 (smaller file) to 100 (better picture), mapped per encoder
    bool hevc = false; // .mp4, .mkv, .mov: H.265 instead of the format's default
    bool transparent = false;
};

// What the quality setting becomes for each encoder.
int crfx264(int qualite);
int crfx265(int qualite);
int crfvp9(int qualite);
int profilprores(int qualite, bool alpha);
int couleursgif(int qualite);

// A transparent film asked of a format without alpha.
QString errsansalpha();

// The messages of the video export.
inline const QString ERRCREATION = QStringLiteral("Erreur création AVI\nFaites une suite d'images");
inline const QString ERRFLUX = QStringLiteral("Erreur dans 'AVIFileCreateStream'");
inline const QString ERRCOMPRESSION = QStringLiteral("Erreur dans 'AVIMakeCompressedStream'");
inline const QString ERRFORMAT = QStringLiteral("Erreur dans 'AviStreamSetFormat'");

// One AVI file with one video stream. Frames are encoded on a thread of the writer's own while
// the caller composes the next one. Every FFmpeg object it holds is released by the destructor,
// which also finishes the file (trailer and index) when ferme() was not called, so a file stopped
// early still plays up to its last frame.
class EcritureVideo {
  public:
    EcritureVideo();
    ~EcritureVideo();
    EcritureVideo(const EcritureVideo&) = delete;
    EcritureVideo& operator=(const EcritureVideo&) = delete;

    // Creates the file for frames of largeur x hauteur at `ips` frames per second. On failure
    // returns the message of the failing step and holds nothing.
    std::optional<QString> ouvre(const QString& chemin, int ips, const OptionsVideo& options,
                                 int largeur = VUEL, int hauteur = VUEH);
    // Creates a film of the delivery format `format` (not AVI, not PNG). A paletted format (GIF,
    // APNG) takes its colours from `palette`, which must not be empty; a transparent film takes
    // frames with alpha (QImage::Format_ARGB32).
    std::optional<QString> ouvrefilm(const QString& chemin, int ips, Format format,
                                     const OptionsFilm& options, int largeur, int hauteur,
                                     const QList<QRgb>& palette = {});
    // Appends one frame, which must have the size given to ouvre(). A frame that could not be
    // written is reported by the next call (this one or ferme()): the file is then finished as
    // far as it was written and the message says why (a full disk, a read-only folder, ...),
    // else it is ERRCREATION for an AVI.
    std::optional<QString> ecrit(const Surface& image);
    std::optional<QString> ecrit(const QImage& image);
    // Encodes what it was given, writes the index and closes the file.
    std::optional<QString> ferme();

    bool ouverte() const;
    int images() const { return nbimages; } // frames accepted

  private:
    // Whether an FFmpeg error is the disk's (or the folder's) rather than the encoder's.
    static bool entreesortie(int code);
    // The message of a failure with the FFmpeg error `code` (0 when none is known).
    QString echec(int code) const;

    struct Ffmpeg;
    // The common end of both openings: the file's header with the muxer's options `opts`
    // (freed here), then the encoder thread; the writer is open once it has run.
    std::optional<QString> demarre(std::unique_ptr<Ffmpeg> n, AVDictionary* opts);
    std::unique_ptr<Ffmpeg> f;
    int nbimages = 0;
    QString fichier; // the file being written
    bool avi = true; // ... is an AVI (opened by ouvre())
};
