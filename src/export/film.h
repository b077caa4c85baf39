// The film exports as step machines: each step composes one frame exactly as the time line shows
// it and writes it, so the window (one step between two paints, a progress dialog with Cancel)
// and the command line (every step in a row) write the same files.
#pragma once

#include "export/partiel.h"
#include "export/video.h"
#include "map/surfaces.h"
#include "state/etat.h"

#include <QString>

#include <optional>

// The video's frame rate: that of the selected frame-rate entry (10, 12, 15, 20, 24, 25, 30),
// or ips when a typed text stands in the list.
int ipsvideo(const Etat& e);

// The project's own files (the map, the display and magnifier pictures, the parameters file) are
// never written over by an export: the refusal naming `chemin` when it is one of them, else
// empty. Links and other names of the same file count as that file.
std::optional<QString> fichierduprojet(const Etat& e, const QString& chemin);

// The bitmap sequence: frames 1 to N into prefix0001.bmp ... (nothing when N is 0). The time
// line is left at the last frame written.
class ExportSuite {
  public:
    ExportSuite(Etat& e, Surfaces& surf, const QString& prefixe);
    // Composes and writes the next frame. On failure returns the message; the files written so
    // far stay, and the export is over. The first step refuses a sequence that would write over
    // a file of the project, before anything is written.
    std::optional<QString> etape();
    bool fini() const { return echec || suivante > derniere; }
    int faites() const { return suivante - 1; }
    int total() const { return derniere; }

  private:
    Etat& e;
    Surfaces& surf;
    QString prefixe;
    int derniere;
    int suivante = 1;
    bool echec = false;
};

// Frame p of the film without its map, as a picture with alpha (QImage::Format_ARGB32): the frame
// is composed once on black and once on white, and what the two differ by is what lets the
// background through. Anti-aliased edges of the legend keep their partial alpha. The time line
// is left at p.
QImage imagetransparente(Etat& e, Surfaces& surf, int p);

// The PNG sequence: frames 0 to N into prefix0000.png ... (four digits, more when N needs them),
// opaque or with alpha. The time line is left at the last frame written.
// The frames are written to a hidden folder beside the sequence (see Partiel) and take their names
// at the last step: a kill leaves the sequence of before whole, or, during the few renames at the
// end, marque() beside a sequence that is then partly new.
class ExportPng {
  public:
    ExportPng(Etat& e, Surfaces& surf, const QString& prefixe, bool transparent);
    // Stopped before its end by the user: the frames written take their names only when no
    // sequence of that name was there (its frame 0 absent), as a film stopped early does.
    ~ExportPng();
    ExportPng(const ExportPng&) = delete;
    ExportPng& operator=(const ExportPng&) = delete;
    std::optional<QString> etape();
    bool fini() const { return echec || suivante > derniere; }
    int faites() const { return suivante; }
    int total() const { return derniere + 1; }
    // The name of frame n.
    QString fichier(int n) const;
    // The note that says the sequence is incomplete, there while the frames are put in place.
    QString marque() const;

  private:
    QString provisoire(int n) const;
    std::optional<QString> ecriture(const QString& chemin, int erreur);
    bool deplace(const QString& de, const QString& vers);
    std::optional<QString> range();

    Etat& e;
    Surfaces& surf;
    QString prefixe;
    bool transparent;
    int derniere;
    int suivante = 0;
    bool echec = false;
    Partiel partiel; // the hidden folder of the new frames
    int erreurdeplace = 0;
};

// The video: frames 0 to N into one AVI file. The frames go to a temporary file beside it, which
// takes the file's name only once it is closed: a film that fails or is killed half-way never
// replaces the one of that name.
class ExportVideo {
  public:
    ExportVideo(Etat& e, Surfaces& surf);
    // A film left unclosed is removed.
    ~ExportVideo();
    ExportVideo(const ExportVideo&) = delete;
    ExportVideo& operator=(const ExportVideo&) = delete;

    // Creates the temporary file; on failure returns the message of the failing step.
    std::optional<QString> ouvre(const QString& chemin, const OptionsVideo& options);
    // The same for a delivery format other than PNG (see Format; an AVI is uncompressed); a GIF
    // or APNG first composes frames spread over the film to make its palette.
    std::optional<QString> ouvre(const QString& chemin, Format format, const OptionsFilm& options);
    // Composes and writes the next frame; on failure the export is over.
    std::optional<QString> etape();
    // Closes the film and puts it in place when it is whole. A film the user stopped early plays
    // up to the last frame written and takes the name only when no file had it (see ancien());
    // a failed one is removed.
    std::optional<QString> ferme();
    bool fini() const { return !video.ouverte() || video.images() > derniere; }
    int faites() const { return video.images(); }
    int total() const { return derniere + 1; }
    // After ferme() of a film stopped early: the file of that name was there before and stays.
    bool ancien() const { return garde; }

  private:
    // Sets up the temporary file (or the device) to write; `ecrit` opens the writer on it.
    template <class Ouvre> std::optional<QString> prepare(const QString& chemin, Ouvre ecrit);
    // A message of the writer, naming the film where it names the temporary file.
    std::optional<QString> nomme(std::optional<QString> message) const;

    Etat& e;
    Surfaces& surf;
    EcritureVideo video;
    bool transparent = false;
    int derniere;
    QString cible, provisoire;
    Partiel partiel; // holds `provisoire` while the film is written
    bool rate = false, garde = false;
};
