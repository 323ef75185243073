#pragma once

// Driving modal windows from a timer started before they open: steps run once the window
// shows (its modal loop is running then), and the saved notices are closed as they come.

#include "common/SaveBox.h"

#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QScopeGuard>
#include <QTimer>
#include <QtTest>
#include <functional>

namespace testsupport {

// Runs the steps in window W once it shows. The steps close it; a step that failed
// leaves it to be closed here. The timer belongs to `scope`.
template <class W>
void whenShown(QObject *scope, std::function<void(W &)> steps)
{
    auto *poll = new QTimer(scope);
    poll->setInterval(5);
    QObject::connect(poll, &QTimer::timeout, scope, [poll, steps] {
        W *w = W::Loaded();
        if (!w || !w->isVisible())
            return;
        poll->stop();
        const auto closeLeftOver = qScopeGuard([] {
            W *open = W::Loaded();
            if (!open || !open->isVisible())
                return;
            if (!QTest::currentTestFailed())
                QTest::qFail("the window was left open", __FILE__, __LINE__);
            open->done(0);
        });
        QVERIFY(QTest::qWaitForWindowActive(w));
        // The offscreen platform may yet hand the activation back to the window under a
        // menu that has just closed; the user has this window in front of them.
        if (!w->isActiveWindow())
            w->activateWindow();
        QTRY_VERIFY(w->isActiveWindow());
        steps(*w);
    });
    poll->start();
}

// Closes each saved notice on its button as soon as it shows, and keeps its text.
class SavedNotices : public QObject
{
public:
    SavedNotices()
    {
        m_timer.setInterval(5);
        connect(&m_timer, &QTimer::timeout, this, [this] {
            SaveBox *box = SaveBox::Loaded();
            if (!box || !box->isVisible())
                return;
            texts << box->lbl->text();
            QTest::mouseClick(box->cmd, Qt::LeftButton);
        });
        m_timer.start();
    }
    QStringList texts;

private:
    QTimer m_timer;
};

}  // namespace testsupport
