#pragma once

// The main window's menus used as the user uses them: clicked open with the mouse, through
// the submenus on the way, and the item clicked.

#include "mainwindow/frmMain.h"

#include <QApplication>
#include <QList>
#include <QMenu>
#include <QMenuBar>
#include <QtTest>

namespace testsupport {

// Clicks the item of a menu that is open or opening (a menu of the menu bar, a submenu, a
// popup shown by a right click). A disabled item does nothing and leaves the menus open,
// so the user closes them with Escape, as they would.
inline void chooseFromOpenMenu(QMenu *menu, QAction *action)
{
    QTRY_VERIFY(menu->isVisible());
    const QRect item = menu->actionGeometry(action);
    QVERIFY2(item.isValid(), qPrintable(QStringLiteral("no item %1 in the menu").arg(action->objectName())));
    const bool enabled = action->isEnabled();
    QTest::mouseClick(menu, Qt::LeftButton, {}, item.center());
    for (int depth = 0; !enabled && depth < 5 && QApplication::activePopupWidget(); ++depth)
        QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_Escape);
}

// The menus of the main window's menu bar in `path`, each opened in the one before, then
// the item of the last.
inline void chooseFromMenu(const QList<QMenu *> &path, QAction *action)
{
    frmMain &main = frmMain::Form();
    QVERIFY(QTest::qWaitForWindowExposed(&main));
    QVERIFY(!path.isEmpty());
    QTest::mouseClick(main.menuBar(), Qt::LeftButton, {}, main.menuBar()->actionGeometry(path.front()->menuAction()).center());
    for (qsizetype i = 1; i < path.size(); ++i) {
        QTRY_VERIFY(path[i - 1]->isVisible());
        QTest::mouseClick(path[i - 1], Qt::LeftButton, {}, path[i - 1]->actionGeometry(path[i]->menuAction()).center());
    }
    chooseFromOpenMenu(path.back(), action);
}

// A menu of the menu bar, through its submenu when one is given, and the item.
inline void chooseFromMenu(QMenu *menu, QMenu *submenu, QAction *action)
{
    chooseFromMenu(submenu ? QList<QMenu *>{menu, submenu} : QList<QMenu *>{menu}, action);
}

}  // namespace testsupport
