#pragma once

#include "common/mainframe.h"

#include <QCloseEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QRect>
#include <QWidget>

// The skeleton of a program window that exists once: Form() makes it on first use,
// Loaded() is null until then and from the moment it begins to close, Unload() closes it.
// A new window derives `class frmX : public MdiForm<frmX>` with `friend MdiForm<frmX>;`
// and a private constructor, overrides Form_Unload() for what its closing must save, and
// shows itself through ZobrazVOblasti(); its open flag is `XOtevren() { return frmX::Loaded(); }`.
// A window whose closing can be refused overrides closeEvent and calls this one's to accept.
template <class Window>
class MdiForm : public QWidget
{
public:
    static Window &Form()
    {
        if (!s_instance) {
            s_instance = new Window;
            s_closing = false;
        }
        return *s_instance;
    }
    static Window *Loaded() { return s_closing ? nullptr : s_instance.data(); }
    // Closes the window, when it is loaded: what it saves on closing, then the window
    // and its MDI frame go.
    static void Unload()
    {
        if (!s_instance)
            return;
        MdiForm *window = s_instance.data();
        window->closing();
        if (auto *frame = qobject_cast<QMdiSubWindow *>(window->parentWidget()))
            delete frame;
        else
            delete window;
    }
    ~MdiForm() override
    {
        if (s_instance.data() == this) {
            s_instance = nullptr;
            s_closing = false;
        }
    }

protected:
    MdiForm() { setAttribute(Qt::WA_DeleteOnClose); }
    // What closing must do while the window is still whole (save its placement ...).
    virtual void Form_Unload() {}

    // Shows the window inside the main window's MDI area, its frame placed at `placement`
    // (pixels) the first time; false when there is no main window, for it never shows on
    // its own.
    bool ZobrazVOblasti(const QRect &placement)
    {
        return placeAndShow([&](QMdiSubWindow *frame) { frame->setGeometry(placement); });
    }
    // The same where the area chooses the place and only the size is given.
    bool ZobrazVOblasti(const QSize &size)
    {
        return placeAndShow([&](QMdiSubWindow *frame) { frame->resize(size); });
    }

    void closeEvent(QCloseEvent *event) override
    {
        closing();
        event->accept();
    }

private:
    template <class Place>
    bool placeAndShow(Place &&place)
    {
        if (!parentWidget()) {
            QMdiArea *area = MdiOblast();
            if (!area)
                return false;
            place(area->addSubWindow(this));
        }
        QWidget::show();
        return true;
    }
    void closing()
    {
        if (s_closing)
            return;
        Form_Unload();
        s_closing = true;
    }

    static inline QPointer<Window> s_instance;
    static inline bool s_closing = false;
};
