// What the fault tests need around the code they test: places where writing fails, and a way to
// see how much memory a piece of work asked for.
#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

// Runs `travail` in a child process and reports how far its virtual memory grew at its peak:
// every allocation counts, touched or not, so a picture buffer sized from a header shows even
// when the decoder gives up before writing it.
struct Mesure {
    bool fini = false;           // the child returned normally (no crash, no abort)
    long long croissancemio = 0; // peak growth of the address space, in MiB
    QByteArray sortie;           // what `travail` returned
};
Mesure mesure(const std::function<QByteArray()>& travail);

// A folder of its own on a small file system that this process alone sees (a tmpfs in a private
// mount namespace), so the tests can fill it or make it read-only. Needs root on Linux; `raison`
// says why it is not available otherwise.
class Volume {
  public:
    Volume(const QString& dossier, int kio);
    ~Volume();
    Volume(const Volume&) = delete;
    Volume& operator=(const Volume&) = delete;

    bool pret() const { return monte; }
    QString raison() const { return pourquoi; }
    QString chemin(const QString& nom) const { return racine + QLatin1Char('/') + nom; }

    // Read-only from now on (the files written until then stay readable).
    bool lectureseule();
    // Fills the free space with a filler file, so the next write of any size fails.
    bool remplit();

  private:
    QString racine;
    QString pourquoi;
    bool monte = false;
};

QByteArray lit(const QString& chemin);
bool ecrit(const QString& chemin, const QByteArray& octets);
