// The lock a project is read, changed and saved under: a lock file beside its parameters file
// (".lock" added), taken by the window's save and by "vialume trace", so that two of them never
// save over each other's work.
#pragma once

#include "state/etat.h"

#include <QLockFile>
#include <QString>

#include <optional>

class Verrou {
  public:
    // `parametres`: the project's parameters file.
    explicit Verrou(const QString& parametres);
    // Takes the lock, waiting up to `attente` ms while another program holds it; then the message
    // naming that program (and, for a lock held from another computer, the lock file to remove
    // when nothing runs there any more). A lock left empty or unreadable by a crash, or one held
    // from another computer for more than a day, is taken over at once. A folder where no lock
    // file can be made gives no lock and no message: the save itself then says what is wrong.
    std::optional<QString> prend(int attente);

  private:
    enum class Qui {
        libre,
        tenu,      // by a program on this computer
        ailleurs,  // from another computer sharing the folder
        illisible, // empty or garbled, just made: its maker may still be writing it
        abandonne, // empty or garbled for a while, or from another computer a day ago
    };
    Qui qui(QString& hote, qint64& pid, QString& programme) const;

    QLockFile verrou;
    QString fichier;
};

// The parameters file of the map `carte`: beside it, its name up to the first "." and ".vlp".
QString parametresdecarte(const QString& carte);
