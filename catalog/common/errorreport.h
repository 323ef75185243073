#pragma once

#include <QString>
#include <exception>

// Errors that reach an event handler with no message of their own: a catalog locked by
// another program or workstation, a damaged file. They are shown, and the program goes on.

// The text such an error is shown with: for a locked catalog that it is busy; then the
// error's number and the engine's own words (the text alone for an error without a
// number).
QString TextChyby(const std::exception &error);
// Shows the error in a message box titled `title` (the program's name when empty).
void ZobrazChybu(const std::exception &error, const QString &title = QString());
// True for a catalog that another connection holds locked longer than the wait.
bool JeZamceno(const std::exception &error);
// What the user is told of such a catalog: it is busy, try again.
QString TextZamceno();

// Runs an event handler's work; an error it does not report itself is shown with
// ZobrazChybu and ends the work there. True when it ran through.
template <typename F>
bool reportErrors(F &&step, const QString &title = QString())
{
    try {
        step();
        return true;
    } catch (const std::exception &e) {
        ZobrazChybu(e, title);
        return false;
    }
}
