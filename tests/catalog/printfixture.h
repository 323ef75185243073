#pragma once

// The print preview driven as the user meets it: set up and shown modally by its entry
// point, steps run in it once it shows, then closed with its close button.

#include "previewfixture.h"
#include "output/frmTisk.h"

#include <QPushButton>
#include <QtTest>

#include <functional>

// `open` sets the window up and shows it (TiskDet, Tisk); `steps` run in it once it shows
// and the window is closed after them, unless they closed it.
inline void inPrintPreview(QObject *scope, const std::function<void(frmTisk &)> &steps,
                           const std::function<void(frmTisk &)> &open)
{
    bool ran = false;
    testsupport::whenShown<frmTisk>(scope, [&](frmTisk &w) {
        steps(w);
        ran = true;
        if (frmTisk::Loaded())
            QTest::mouseClick(w.cmdKonec, Qt::LeftButton);
    });
    open(frmTisk::Form());
    QVERIFY(ran);
    QTRY_VERIFY(!frmTisk::Loaded());
}
