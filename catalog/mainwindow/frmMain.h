#pragma once

#include <QMainWindow>

class QLabel;
class QMdiArea;

// The program's MDI frame. For now the plain frame that start-up shows: the section
// label and the MDI area that the catalog views open in.
class frmMain : public QMainWindow
{
    Q_OBJECT
public:
    // The one main window, created on first use, as the other windows reach it.
    static frmMain &Form();
    // Null while the window is not loaded.
    static frmMain *Loaded();
    static void Unload();

    // Caption: the current section's name; property "Tag": its number as text.
    QLabel *lblSekce = nullptr;
    QMdiArea *mdiArea = nullptr;

private:
    frmMain();
};
