#pragma once

#include "common/singleform.h"

#include <QApplication>
#include <QDialog>

#include <utility>
#include <variant>

// The skeleton of a modal program window: Form() makes it on first use (with the
// arguments its constructor takes), Loaded() is null until then and from the moment it
// begins to close, and it deletes itself once closed (SingleForm).
// A new window derives `class frmX : public ModalForm<frmX>` (or ModalForm<frmX, R> when
// its caller reads a result R) with `friend ModalForm<frmX>;` and a private constructor,
// and shows itself through ZobrazModalne(); a refusal to close goes in Form_QueryUnload.
// Escape, the frame's close button and close() all close through Form_QueryUnload;
// accept() and done() close without asking, as a window's own OK does after its save.
template <class Window, class Result = std::monostate>
class ModalForm : public SingleForm<Window, QDialog>
{
public:
    template <class... Args>
    static Window &Form(Args &&...args)
    {
        return ModalForm::formMadeBy([&] { return new Window(std::forward<Args>(args)...); });
    }

    // Shows the window modally and returns, once it has closed, what it left for its
    // caller. The window is gone by then: its caller reads the result, never the window.
    Result ZobrazModalne()
    {
        this->exec();  // deletes the window as it returns
        return std::exchange(s_vysledek, Result());
    }

    // Escape closes as the frame's button does, through the question on closing. (The
    // dialog's own reject() would hide the window without a close event.)
    void reject() override { this->close(); }

    // accept() and done(): the closing steps too, without the question.
    void done(int r) override
    {
        this->closing();
        QDialog::done(r);
    }

protected:
    explicit ModalForm(QWidget *parent = nullptr) : SingleForm<Window, QDialog>(parent) { s_vysledek = Result(); }

    // Where the window puts what its caller reads after it has closed; it outlives the
    // window. Each new window starts with an empty one.
    static Result &Vysledek() { return s_vysledek; }

    void closeEvent(QCloseEvent *event) override
    {
        // Not the dialog's own handler: that one rejects, and a reject() that closes would
        // then find the window still visible and refuse the close.
        SingleForm<Window, QDialog>::closeEvent(event);
        if (event->isAccepted())
            this->setResult(QDialog::Rejected);
    }

    // Centred over the window it is opened from, and owned by it.
    void NadOtevirajicimOknem()
    {
        if (QWidget *owner = QApplication::activeWindow()) {
            this->setParent(owner, this->windowFlags());
            this->move(owner->geometry().center() - this->rect().center());
        }
    }

private:
    static inline Result s_vysledek{};
};
