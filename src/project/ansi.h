// Windows-1252, the code page of the program's text files (the parameters file, langue.ini,
// langue.csv). Texts are converted at the file boundary only; inside the program they are QString.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// Every byte gives one character. The five bytes the code page leaves unassigned give the control
// characters of the same value, as Windows does, so any file decodes and encodes back unchanged.
QString depuisansi(QByteArrayView octets);
// Every character gives one byte; a character outside the code page gives "?".
QByteArray versansi(const QString& texte);
