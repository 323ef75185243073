#pragma once

#include "common/mainframe.h"
#include "common/singleform.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QRect>
#include <QWidget>

// The skeleton of a program window that lives in the main window's MDI area: Form()
// makes it on first use, Loaded() is null until then and from the moment it begins to
// close, Unload() closes it with its frame (SingleForm).
// A new window derives `class frmX : public MdiForm<frmX>` with `friend MdiForm<frmX>;`
// and a private constructor, overrides Form_Unload() for what its closing must save, and
// shows itself through ZobrazVOblasti(); its open flag is `XOtevren() { return frmX::Loaded(); }`.
// A window whose closing can be refused overrides Form_QueryUnload.
template <class Window>
class MdiForm : public SingleForm<Window, QWidget>
{
public:
    static Window &Form()
    {
        return MdiForm::formMadeBy([] { return new Window; });
    }

protected:
    MdiForm() = default;

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

    // The MDI frame goes with the window.
    QWidget *outermost() override
    {
        if (auto *frame = qobject_cast<QMdiSubWindow *>(this->parentWidget()))
            return frame;
        return this;
    }

private:
    template <class Place>
    bool placeAndShow(Place &&place)
    {
        if (!this->parentWidget()) {
            QMdiArea *area = MdiOblast();
            if (!area)
                return false;
            place(area->addSubWindow(this));
        }
        QWidget::show();
        return true;
    }
};
