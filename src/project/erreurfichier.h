// Why a file operation failed, in French, with the system's own words after it.
#pragma once

#include <QFileDevice>
#include <QString>

QString raisonfichier(const QFileDevice& f);
