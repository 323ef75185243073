#pragma once

#include "common/mdiform.h"

// The catalog view as far as start-up needs it: an MDI child of the main window.
class frmVyber : public MdiForm<frmVyber>
{
    Q_OBJECT
    friend MdiForm<frmVyber>;

public:
    // Shows the window inside the main window's MDI area.
    void Zobraz();
    void NactiData();

private:
    frmVyber();
};

// The selection window is open.
inline bool VyberOtevren()
{
    return frmVyber::Loaded();
}
