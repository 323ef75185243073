#pragma once

#include <QWidget>

// The catalog view as far as start-up needs it: an MDI child of the main window that
// records whether it is open.
class frmPrehled : public QWidget
{
    Q_OBJECT
public:
    static frmPrehled &Form();
    static frmPrehled *Loaded();
    // Closes the window, when it is loaded.
    static void Unload();
    ~frmPrehled() override;

    // Shows the window inside the main window's MDI area.
    void Zobraz();
    void NactiData();

private:
    frmPrehled();
};
