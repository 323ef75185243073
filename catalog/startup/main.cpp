// The program's entry: finds its folder and catalog, opens the catalog and shows the
// main window.
#include "VarnexEditUni.h"
#include "msgbox.h"
#include "startup/globals.h"

#include <QApplication>
#include <QFile>
#include <QMainWindow>
#include <QMdiArea>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Oskal"));
    msgbox::installScriptFromEnvironment();
    AppPath = QCoreApplication::applicationDirPath() + QLatin1Char('/');

    const QString catalog = AppPath + QStringLiteral("QIRData.mdb");
    if (!QFile::exists(catalog)) {
        if (!QFile::copy(AppPath + QStringLiteral("QIRData.upg"), catalog)) {
            MsgBox(QStringLiteral("QIRData.upg -> QIRData.mdb"), vbCritical);
            return 1;
        }
        QFile::setPermissions(catalog, QFile::permissions(catalog) | QFile::WriteOwner);
    }
    try {
        Ws = std::make_unique<dao::Workspace>(QStringLiteral("admin"));
        Db = Ws->OpenDatabase(catalog, false, false, QStringLiteral(";pwd="));
        Db->OpenRecordset(QStringLiteral("select * from s_param"));
    } catch (const VbError &e) {
        MsgBox(e.Description(), vbCritical);
        return 1;
    }

    VarnexEditUni probe;  // the control library is there and its control can be made
    QMainWindow frmMain;
    frmMain.setObjectName(QStringLiteral("frmMain"));
    frmMain.setWindowTitle(QStringLiteral("Oskal"));
    frmMain.setCentralWidget(new QMdiArea(&frmMain));
    frmMain.resize(1000, 700);
    frmMain.show();
    const int rc = app.exec();
    Db.reset();
    Ws.reset();
    return rc;
}
