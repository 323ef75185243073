#pragma once

#include "VarnexEditUni.h"
#include "overview/frmPrehled.h"

// The overview's grid, found by its name as a user finds a control: the window keeps it
// to itself.
inline VarnexEditUni *overviewGrid(const frmPrehled &overview)
{
    return overview.findChild<VarnexEditUni *>(QStringLiteral("VEdit"));
}
