#pragma once

// The platform's print dialog answered as the user answers it: the print-to-file target
// with a file name typed in, the options opened, a page range and the copies typed, and
// Print clicked. What the dialog proposed is kept for the test to check.

#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTimer>
#include <QtTest>

#include <functional>
#include <memory>

namespace testsupport {

struct PrintDialogAnswer {
    QString file;      // typed as the print-to-file target
    int from = 0;      // 0: all pages
    int to = 0;
    int copies = 1;
    bool cancel = false;
};

// What the dialog showed when it opened.
struct PrintDialogSeen {
    bool shown = false;
    QStringList targets;   // the printers it offered, the print-to-file target last
    QString target;        // the one proposed
    QString file;          // the file name proposed
    bool rangeOffered = false;
    bool copiesOffered = false;
};

namespace detail {

inline void typeInto(QAbstractSpinBox *box, int value)
{
    box->setFocus();
    box->selectAll();
    QTest::keyClicks(box, QString::number(value));
}

inline void answer(QPrintDialog *d, const PrintDialogAnswer &a, PrintDialogSeen &seen)
{
    seen.shown = true;
    auto *targets = d->findChild<QComboBox *>(QStringLiteral("printers"));
    auto *file = d->findChild<QLineEdit *>(QStringLiteral("filename"));
    QVERIFY(targets && file);
    for (int i = 0; i < targets->count(); ++i)
        seen.targets << targets->itemText(i);
    seen.target = targets->currentText();
    seen.file = file->text();
    auto *buttons = d->findChild<QDialogButtonBox *>();
    QVERIFY(buttons);
    if (a.cancel) {
        QTest::mouseClick(buttons->button(QDialogButtonBox::Cancel), Qt::LeftButton);
        return;
    }
    // Never a printer of the machine the test runs on: the file, the last target.
    targets->setFocus();
    QTest::keyClick(targets, Qt::Key_End);
    QVERIFY(file->isEnabled());
    file->setFocus();
    file->selectAll();
    QTest::keyClicks(file, a.file);
    // The options fold out with the dialog's own button beside Print and Cancel.
    for (QAbstractButton *b : buttons->buttons())
        if (buttons->buttonRole(b) != QDialogButtonBox::AcceptRole && buttons->buttonRole(b) != QDialogButtonBox::RejectRole)
            QTest::mouseClick(b, Qt::LeftButton);
    auto *range = d->findChild<QRadioButton *>(QStringLiteral("printRange"));
    auto *all = d->findChild<QRadioButton *>(QStringLiteral("printAll"));
    auto *from = d->findChild<QSpinBox *>(QStringLiteral("from"));
    auto *to = d->findChild<QSpinBox *>(QStringLiteral("to"));
    auto *copies = d->findChild<QSpinBox *>(QStringLiteral("copies"));
    QVERIFY(range && all && from && to && copies);
    seen.rangeOffered = range->isVisible() && range->isEnabled();
    seen.copiesOffered = copies->isVisible() && copies->isEnabled();
    if (a.from > 0) {
        QTest::mouseClick(range, Qt::LeftButton);
        QVERIFY(range->isChecked());
        typeInto(to, a.to);
        typeInto(from, a.from);
    } else {
        QTest::mouseClick(all, Qt::LeftButton);
    }
    typeInto(copies, a.copies);
    QTest::mouseClick(buttons->button(QDialogButtonBox::Ok), Qt::LeftButton);
}

}  // namespace detail

// Answers the next print dialog that opens; `seen` must outlive it. A dialog that never
// opens leaves `seen.shown` false, and whatever other modal window opened in its place
// is closed, so that the test goes on to fail instead of hanging.
inline void whenPrintDialogOpens(const PrintDialogAnswer &a, PrintDialogSeen &seen, int tries = 300)
{
    QTimer::singleShot(10, [a, &seen, tries] {
        QWidget *modal = QApplication::activeModalWidget();
        if (auto *d = qobject_cast<QPrintDialog *>(modal); d && d->isVisible()) {
            detail::answer(d, a, seen);
            if (d->isVisible())
                d->reject();
            return;
        }
        if (tries > 0) {
            whenPrintDialogOpens(a, seen, tries - 1);
            return;
        }
        qWarning("no print dialog opened");
        if (auto *other = qobject_cast<QDialog *>(modal); other && other->inherits("QFileDialog"))
            other->reject();
    });
}

// The dialog showed, with the page range and the copies to choose; on a machine without
// a printer its one target was a PDF file, proposed by name.
inline void verifyChoicesOfAPrinter(const PrintDialogSeen &seen, const QStringList &installed)
{
    QVERIFY(seen.shown);
    QVERIFY(seen.rangeOffered);
    QVERIFY(seen.copiesOffered);
    if (installed.isEmpty()) {
        QCOMPARE(seen.targets.size(), 1);
        QVERIFY(seen.file.endsWith(QStringLiteral(".pdf")));
    }
}

}  // namespace testsupport
