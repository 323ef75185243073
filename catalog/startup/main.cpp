// The program's entry: start-up decides whether the program runs at all, then the
// program lives in its windows until the main window closes.
#include "msgbox.h"
#include "common/globals.h"
#include "startup/aplikace.h"
#include "startup/startup.h"

#include <csignal>

int main(int argc, char **argv)
{
    // An instance restarted after registering the controls keeps the output channels of
    // the one that started it; when whoever read those has gone, a diagnostic line must
    // not end the program.
    std::signal(SIGPIPE, SIG_IGN);
    Aplikace app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Oskal"));
    msgbox::installScriptFromEnvironment();

    int rc = 0;
    if (const auto end = Main(QCoreApplication::applicationFilePath(), QCoreApplication::arguments().mid(1)))
        rc = *end;
    else
        rc = app.exec();
    Db.reset();
    Ws.reset();
    UvolniInstanci();
    return rc;
}
