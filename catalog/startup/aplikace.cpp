#include "startup/aplikace.h"

#include "common/errorreport.h"

#include <exception>

Aplikace::Aplikace(int &argc, char **argv) : QApplication(argc, argv) {}

bool Aplikace::notify(QObject *receiver, QEvent *event)
{
    // An error that escapes again while its box is up (a timer that keeps failing) is not
    // shown once more over it: the box on screen says it already.
    static bool showing = false;
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception &e) {
        if (!showing) {
            showing = true;
            ZobrazChybu(e);
            showing = false;
        }
    }
    return false;
}
