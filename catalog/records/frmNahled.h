#pragma once

#include "common/mdiform.h"

// The catalog view as far as start-up needs it: an MDI child of the main window.
class frmNahled : public MdiForm<frmNahled>
{
    Q_OBJECT
    friend MdiForm<frmNahled>;

public:
    // Shows the window inside the main window's MDI area.
    void Zobraz();
    void NactiZalozky();

private:
    frmNahled();
};

// The preview window is open.
inline bool NahledOtevren()
{
    return frmNahled::Loaded();
}
