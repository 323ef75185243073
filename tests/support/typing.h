#pragma once

// The user's keys and clicks on the boxes of the catalog's windows.

#include <QAbstractItemView>
#include <QComboBox>
#include <QLineEdit>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QtTest>

namespace testsupport {

// Types the text as keys; a character beyond ASCII comes as the keyboard's text alone.
inline void typeKeys(QWidget *widget, const QString &text)
{
    for (const QChar ch : text) {
        if (ch.unicode() < 0x80)
            QTest::keyClick(widget, ch.toLatin1());
        else
            QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(ch), Qt::NoModifier);
    }
}

// Clicks into the line, selects what it holds and types over it; typing nothing deletes
// what it held.
inline void typeOver(QLineEdit *line, const QString &text)
{
    QTest::mouseClick(line, Qt::LeftButton);
    QTest::keyClick(line, Qt::Key_A, Qt::ControlModifier);
    if (text.isEmpty())
        QTest::keyClick(line, Qt::Key_Delete);
    else
        typeKeys(line, text);
}

// The items of a box's list once it has opened, and the list closed again.
inline QStringList openedList(QComboBox *box)
{
    [&] { QTRY_VERIFY(box->view()->isVisible()); }();
    QStringList items;
    for (int i = 0; i < box->model()->rowCount(); ++i)
        items << box->model()->index(i, 0).data().toString();
    box->hidePopup();
    return items;
}

// Opens the drop-down list of an editable box as the user does, with a click on its
// arrow, and gives its items.
inline QStringList dropDownByArrow(QComboBox *box)
{
    QStyleOptionComboBox option;
    option.initFrom(box);
    option.editable = true;
    option.subControls = QStyle::SC_All;
    const QRect arrow = box->style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxArrow, box);
    QTest::mouseClick(box, Qt::LeftButton, {}, arrow.center());
    return openedList(box);
}

}  // namespace testsupport
