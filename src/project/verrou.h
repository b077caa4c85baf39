// The lock a project is read, changed and saved under: a lock file beside its parameters file
// (".lock" added), taken by the window's save and by "vialume trace", so that two of them never
// save over each other's work.
#pragma once

#include <QLockFile>
#include <QString>

#include <optional>

class Verrou {
  public:
    // `parametres`: the project's parameters file.
    explicit Verrou(const QString& parametres);
    // Takes the lock, waiting up to `attente` ms while another program holds it; then the French
    // message naming that program. A folder where no lock file can be made gives no lock and no
    // message: the save itself then says what is wrong.
    std::optional<QString> prend(int attente);

  private:
    QLockFile verrou;
};

// The parameters file of the map `carte`: beside it, its name up to the first "." and ".vlp".
QString parametresdecarte(const QString& carte);
