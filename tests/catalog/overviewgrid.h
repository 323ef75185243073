#pragma once

#include "VarnexEditUni.h"
#include "overview/frmPrehled.h"

#include <QTest>

// The overview's grid, found by its name as a user finds a control: the window keeps it
// to itself.
inline VarnexEditUni *overviewGrid(const frmPrehled &overview)
{
    return overview.findChild<VarnexEditUni *>(QStringLiteral("VEdit"));
}

// Waits, letting events run, until the open overview's load has put its last row into the
// grid (at once when no overview is open or nothing is loading).
inline bool overviewSettled(int timeoutMs = 20000)
{
    return QTest::qWaitFor(
        [] {
            const frmPrehled *overview = frmPrehled::Loaded();
            return !overview || !overview->Nacita();
        },
        timeoutMs);
}
