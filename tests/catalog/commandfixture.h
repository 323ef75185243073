#pragma once

// Commands of the main window chosen on a record that has attachments: the views open
// on it, the boxes answered as a user answers them, the windows that open closed again.

#include "output/frmTisk.h"
#include "previewfixture.h"
#include "records/frmVyber.h"
#include "mainwindow/views.h"
#include "msgbox.h"
#include "data/currentoverview.h"

#include <QApplication>
#include <QLineEdit>
#include <QTabBar>

namespace testsupport {

// Answers every box for as long as it lives, as the cautious user does (No, Cancel, OK)
// or as one who goes on (Yes, OK), and keeps what each said.
class AnsweringBoxes : public msgbox::Answerer
{
public:
    enum Manner { Cautious, GoingOn };
    explicit AnsweringBoxes(Manner manner) : m_manner(manner) { m_previous = msgbox::setAnswerer(this); }
    ~AnsweringBoxes() override { msgbox::setAnswerer(m_previous); }
    AnsweringBoxes(const AnsweringBoxes &) = delete;
    AnsweringBoxes &operator=(const AnsweringBoxes &) = delete;
    msgbox::Answer answer(const msgbox::Shown &box) override
    {
        shown.push_back(box);
        const int buttons = box.style & 7;
        if (buttons == vbYesNo || buttons == vbYesNoCancel)
            return {m_manner == Cautious ? vbNo : vbYes, {}};
        return {buttons == vbOKCancel && m_manner == Cautious ? vbCancel : vbOK, {}};
    }
    QStringList texts() const
    {
        QStringList t;
        for (const msgbox::Shown &box : shown)
            t << box.text;
        return t;
    }
    std::vector<msgbox::Shown> shown;

private:
    Manner m_manner;
    msgbox::Answerer *m_previous = nullptr;
};

// Closes every dialog window as it shows and notes it: its class, and what tells which
// record or attachment it was opened on.
class DialogCloser : public QObject
{
public:
    DialogCloser()
    {
        m_timer.setInterval(10);
        connect(&m_timer, &QTimer::timeout, this, [this] {
            for (QWidget *w : QApplication::topLevelWidgets()) {
                auto *dialog = qobject_cast<QDialog *>(w);
                if (!dialog || !dialog->isVisible())
                    continue;
                QString seen = QString::fromLatin1(dialog->metaObject()->className());
                if (seen == QLatin1String("frmPriradObr"))
                    seen += QLatin1Char('|') + dialog->findChild<QLineEdit *>(QStringLiteral("txtPopis"))->text();
                else if (seen == QLatin1String("frmEditace"))
                    seen += QLatin1Char('|') + dialog->windowTitle();
                else if (auto *print = qobject_cast<frmTisk *>(dialog))
                    seen += QStringLiteral("|%1|%2").arg(print->TiskInter).arg(print->TiskPoradi);
                seen_ << seen;
                dialog->reject();
            }
        });
        m_timer.start();
    }
    QStringList seen_;

private:
    QTimer m_timer;
};

// The views of section 1 open on record 12 (grid row 2), its first attachment selected.
inline void openViewsOnRecord12()
{
    if (AktualniSekce() != 1) {
        UnloadViews();
        frmMain::Form();
        NastavAktualniSekci(1, QStringLiteral("SEKCE 1"));
    }
    frmPrehled &overview = showOverview();
    if (!frmVyber::Loaded()) {
        frmVyber::Form().Zobraz();
        frmVyber::Form().NactiData();
    }
    frmNahled &preview = frmNahled::Form();
    preview.Zobraz();
    QVERIFY(QTest::qWaitForWindowExposed(&preview));
    goToRow(overview, 2);
    QTRY_COMPARE(preview.tabS->count(), 4);
    QTest::mouseClick(preview.tabS, Qt::LeftButton, {}, preview.tabS->tabRect(0).center());
    QCOMPARE(preview.VybranaPriloha(), 1);
}

// Closes the view that the view command `name` opens (mnuZobrazPrehled ...), so that the
// command has a closed view to open; any other command leaves the views as they are.
inline void closeTheViewItOpens(const QString &name)
{
    if (name == QLatin1String("mnuZobrazPrehled"))
        frmPrehled::Unload();
    else if (name == QLatin1String("mnuZobrazVyber"))
        frmVyber::Unload();
    else if (name == QLatin1String("mnuZobrazNahled"))
        frmNahled::Unload();
}

// Section 2 "Hudba" beside the first, so that every section command has a section to go
// to; the views open on record 12 in the shown main window, whose menus know both.
inline frmMain &mainOnRecord12WithTwoSections()
{
    defineSection(2, QStringLiteral("Hudba"), {{"Album", "C"}});
    frmMain &main = frmMain::Form();
    openViewsOnRecord12();
    main.NactiSekce();
    main.NastavMenu();
    [&] { QVERIFY(QTest::qWaitForWindowExposed(&main)); }();
    return main;
}

}  // namespace testsupport
