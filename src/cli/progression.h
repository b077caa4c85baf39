// Progress of a long sub-command on standard error: a bar redrawn in place when standard error is
// a terminal, else one line every 10 % so that a log stays short.
#pragma once

#include <QString>

#include <cstdio>

class Progression {
  public:
    // `quoi` names the work ("Export AVI"); `total` is the number of steps.
    Progression(const QString& quoi, int total, std::FILE* flux = stderr);
    // `faites` steps are done.
    void avance(int faites);
    // Ends the bar's line (a terminal) after the last step.
    void termine();

  private:
    QString quoi;
    int total;
    std::FILE* flux;
    bool terminal;
    int dernier = -1; // the last tenth (lines) or percent (bar) shown
};
