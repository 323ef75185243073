#include "common/translation.h"

#include "VarnexEditUni.h"
#include "msgbox.h"

#include <QAbstractButton>
#include <QAction>
#include <QCoreApplication>
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QMainWindow>
#include <QMdiSubWindow>
#include <QMenu>
#include <QRadioButton>
#include <QTabBar>
#include <QTranslator>

#include <memory>

void NastavJazykQt(const QString &jazyk)
{
    static QTranslator *installed = nullptr;
    if (installed) {
        QCoreApplication::removeTranslator(installed);
        delete installed;
        installed = nullptr;
    }
    const int number = NactenyJazyk(jazyk);
    if (number == 2)
        return;
    auto translator = std::make_unique<QTranslator>();
    const QString file = number == 1 ? QStringLiteral("qtbase_cs") : QStringLiteral("qtbase_zh_CN");
    // Without Qt's translations the boxes keep their English buttons; nothing else depends on them.
    if (translator->load(file, QLibraryInfo::path(QLibraryInfo::TranslationsPath))
        && QCoreApplication::installTranslator(translator.get()))
        installed = translator.release();
}

namespace {

// The window's own controls, without descending into a control of the table editor
// library or into another window (an MDI child, a dialog) that translates itself.
// Menus are popups, yet they belong to the window whose menu bar holds them.
void collectControls(QObject *parent, QList<QObject *> &controls)
{
    for (QObject *child : parent->children()) {
        // Captions made from the user's data (a section's name) are no messages.
        if (child->property("userText").toBool())
            continue;
        if (auto *widget = qobject_cast<QWidget *>(child)) {
            if (qobject_cast<QMdiSubWindow *>(widget) || qobject_cast<VarnexEditUni *>(widget))
                continue;
            if (widget->isWindow() && !qobject_cast<QMenu *>(widget))
                continue;
        }
        controls.append(child);
        collectControls(child, controls);
    }
}

bool isForm(const QWidget &w)
{
    return w.isWindow() || qobject_cast<const QMainWindow *>(&w) || qobject_cast<const QDialog *>(&w)
        || qobject_cast<const QMdiSubWindow *>(w.parentWidget());
}

void translateToolTip(QWidget *w)
{
    if (!w->toolTip().isEmpty())
        w->setToolTip(PrelozText(w->toolTip()));
}

}  // namespace

void PrelozFormular(QWidget &form, quint8 keepCaption)
{
    if (!isForm(form)) {
        MsgBox(PrelozText(QStringLiteral("341,Typ objektu není definován")), vbCritical,
               PrelozText(QStringLiteral("156,Nastaveni jazykove verze programu")));
        return;
    }
    QList<QObject *> controls;
    collectControls(&form, controls);
    for (QObject *object : std::as_const(controls)) {
        if (auto *action = qobject_cast<QAction *>(object)) {
            if (!action->isSeparator())
                action->setText(PrelozText(action->text()));
        } else if (auto *label = qobject_cast<QLabel *>(object)) {
            // A label showing a picture is the image kind: only its tool tip is text.
            if (label->pixmap().isNull())
                label->setText(PrelozText(label->text()));
            translateToolTip(label);
        } else if (auto *frame = qobject_cast<QGroupBox *>(object)) {
            frame->setTitle(PrelozText(frame->title()));
        } else if (qobject_cast<QRadioButton *>(object)) {
            // Option buttons keep what the window gave them.
        } else if (auto *button = qobject_cast<QAbstractButton *>(object)) {
            button->setText(PrelozText(button->text()));
            translateToolTip(button);
        } else if (qobject_cast<QLineEdit *>(object) || qobject_cast<QComboBox *>(object)) {
            translateToolTip(static_cast<QWidget *>(object));
        } else if (auto *tabs = qobject_cast<QTabBar *>(object)) {
            for (int i = 0; i < tabs->count(); ++i)
                tabs->setTabText(i, PrelozText(tabs->tabText(i)));
        }
    }
    if (keepCaption != 1)
        form.setWindowTitle(PrelozText(form.windowTitle()));
}
