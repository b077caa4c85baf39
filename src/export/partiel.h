// What an export writes before its work takes the target's name: a hidden file or folder beside
// the target, ".NAME.XXXXXX.partiel", that the export holds (a lock on it) while it runs. The hold
// ends with the process, whatever way it ends: a killed export leaves a partial file that nobody
// holds, which the next export of the same target removes.
#pragma once

#include <QString>

class Partiel {
  public:
    Partiel() = default;
    // Lets go of the hold; the file or folder itself stays.
    ~Partiel();
    Partiel(const Partiel&) = delete;
    Partiel& operator=(const Partiel&) = delete;

    // Makes and holds the partial file (or folder) of `cible`, beside it. On failure returns the
    // system's error number and holds nothing.
    int cree(const QString& cible, bool dossier);
    QString chemin() const { return nom; }
    // Lets go of the hold (the file was renamed into place or removed).
    void lache();

  private:
    int fd = -1;
    QString nom;
};

// Removes the partial files and folders of `cible` that no running export holds. Returns how
// many went.
int nettoiepartiels(const QString& cible);
