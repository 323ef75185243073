#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// How the data's version compares with the program's. Only the major and minor numbers
// count: the revision never asks for a conversion.
enum class VersionRule {
    Same,          // the data are used as they are
    Convert,       // the data need converting (newer data too)
    Incompatible,  // a data major number below 3 that is not the program's
    Unreadable,    // no "." to cut the major number at, or none for the minor one
};
VersionRule PorovnejVerze(const QString &verzeDat, int programMajor, int programMinor);

// The program's start: everything before the main window opens, then the main window
// and the views the user had open. nullopt when the program goes on living in its
// windows; otherwise the program ends at once with the exit code given.
// programFile is the program's own executable; its folder is the program folder.
std::optional<int> Main(const QString &programFile, const QStringList &arguments);

// Whether this start is one of a network workstation of a shared catalog, with a
// workstation name and a login. Nothing decides that yet: every start is a single one.
bool SitovaStanice();

// The lock file that marks a running instance of the program at that path.
QString ZamekInstance(const QString &programFile);
// Gives up this instance's lock; the program's end does it, and tests between runs.
void UvolniInstanci();
