#pragma once

#include "data/version.h"

#include <QString>
#include <QStringList>
#include <chrono>
#include <optional>

// The program's start: everything before the main window opens, then the main window
// and the views the user had open. nullopt when the program goes on living in its
// windows; otherwise the program ends at once with the exit code given.
// programFile is the program's own executable; its folder is the program folder.
std::optional<int> Main(const QString &programFile, const QStringList &arguments);

// The lock file that marks a running instance of the program at that path.
QString ZamekInstance(const QString &programFile);
// Gives up this instance's lock; the program's end does it, and tests between runs.
void UvolniInstanci();
// How long a restart ("R") waits for the instance before it to let go of the lock before
// it runs anyway: five seconds unless set; tests that hold the lock themselves wait less.
void NastavCekaniNaZamek(std::chrono::milliseconds wait);
