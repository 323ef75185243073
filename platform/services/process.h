#pragma once

#include <QString>
#include <QtGlobal>

#include <functional>

// Opening a document or a program with the desktop's application, and waiting for a
// process, as the program did with ShellExecute and the process calls.
namespace process {

// ShellExecute's results: above 32 is success; these are its failures.
enum ShellResult : int {
    OutOfResources = 0,
    FileNotFound = 2,
    PathNotFound = 3,
    AccessDenied = 5,
    OutOfMemory = 8,
    BadFormat = 11,
    SharingViolation = 26,
    AssociationIncomplete = 27,
    DdeTimeout = 28,
    DdeFail = 29,
    DdeBusy = 30,
    NoAssociation = 31,
    DllNotFound = 32,
    Started = 42,  // any value above 32 means the start succeeded
};

// Opens a file with the application the desktop associates with its type, or starts it
// with its parameters when it is a program; the working folder is the program's. Does not
// wait. Answers a ShellResult.
using Opener = std::function<int(const QString &file, const QString &parameters, const QString &directory)>;
int ShellExecute(const QString &file, const QString &parameters, const QString &directory);
// Tests replace the desktop's opener; an empty opener puts the desktop's back.
// Returns the one replaced.
Opener setOpener(Opener opener);
// The desktop's opener itself.
int desktopOpen(const QString &file, const QString &parameters, const QString &directory);

// The platform's code of a process that is still running.
inline constexpr qint32 StillActive = 259;

// Waits for the process to end and answers its exit code (128 plus the signal's number
// when a signal ended it). Blocking waits without processing window events; otherwise
// window events run while it waits. Only a child of this program leaves an exit code to
// read: for any other process the wait lasts until it ends and answers 0, as it does at
// once for a process that does not exist.
qint32 WaitForProcess(qint64 pid, bool block);

}  // namespace process
