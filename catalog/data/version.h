#pragma once

#include <QString>

// How the data's version compares with the program's. Only the major and minor numbers
// count: the revision never asks for a conversion.
enum class VersionRule {
    Same,          // the data are used as they are
    Convert,       // the data need converting (newer data too)
    Incompatible,  // a data major number below 3 that is not the program's
    Unreadable,    // no "." to cut the major number at, or none for the minor one
};
VersionRule PorovnejVerze(const QString &verzeDat, int programMajor, int programMinor);
