// The single-byte Windows-1252 text of the program's files, converted at the file boundary only.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

// Every byte has a character; the five bytes that Windows-1252 leaves undefined read as the C1
// control of the same number, as Windows reads them.
QString depuisansi(QByteArrayView octets);
// A character without a byte of its own is written "?". Qt's converter would write byte 26 there,
// which ends the file for every reader of it.
QByteArray versansi(QStringView texte);
