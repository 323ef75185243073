#pragma once

// The main window's menu used as the user uses it: clicked open with the mouse, through
// a submenu when one is given, and the item clicked.

#include "mainwindow/frmMain.h"

#include <QMenu>
#include <QMenuBar>
#include <QtTest>

namespace testsupport {

inline void chooseFromMenu(QMenu *menu, QMenu *submenu, QAction *action)
{
    frmMain &main = frmMain::Form();
    QTest::mouseClick(main.menuBar(), Qt::LeftButton, {}, main.menuBar()->actionGeometry(menu->menuAction()).center());
    QTRY_VERIFY(menu->isVisible());
    if (submenu) {
        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(submenu->menuAction()).center());
        QTRY_VERIFY(submenu->isVisible());
        menu = submenu;
    }
    QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(action).center());
}

}  // namespace testsupport
