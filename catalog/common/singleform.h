#pragma once

#include <QCloseEvent>
#include <QPointer>
#include <QWidget>

// The part that every program window which exists once shares, whatever it is (an MDI
// child: MdiForm, a modal dialog: ModalForm, or the main and the language window, which
// are neither). Form() makes the window on first use; Loaded() is the window from then
// until it begins to close, null otherwise; Unload() closes it at once. The window
// deletes itself once closed.
//
// Closing asks Form_QueryUnload, where a window may refuse (unsaved edits, a task under
// way), then runs Form_Unload, what closing must do while the window is still whole (save
// its placement ...), once, however the window closes; Unload() does not ask.
template <class Window, class Base>
class SingleForm : public Base
{
public:
    static Window *Loaded() { return s_closing ? nullptr : current(); }
    // Closes the window, when it is loaded, without asking: what it saves on closing,
    // then the window goes.
    static void Unload()
    {
        if (!s_instance)
            return;
        auto *form = static_cast<SingleForm *>(s_instance.data());
        form->closing();
        delete form->outermost();
    }

    ~SingleForm() override
    {
        // Compared as widgets: here the object is no longer a Window, and a pointer to
        // one would be a cast to what it has stopped being.
        if (isInstance(this)) {
            s_instance = nullptr;
            s_closing = false;
        }
    }

protected:
    explicit SingleForm(QWidget *parent = nullptr, Qt::WindowFlags flags = {}) : Base(parent, flags)
    {
        this->setAttribute(Qt::WA_DeleteOnClose);
    }

    // The loaded window, else the one `make` makes (a window that has begun to close is
    // going, and a new one takes its place). `make` is the skeleton's or the window's own
    // call of the window's private constructor.
    template <class Make>
    static Window &formMadeBy(Make &&make)
    {
        if (!s_instance || s_closing) {
            s_instance = make();
            s_closing = false;
        }
        return *current();
    }

    // Whether `widget` is the window Form() handed out last, loaded or closing; false
    // once a newer one has taken its place.
    static bool isInstance(const QWidget *widget) { return s_instance.data() == widget; }

    // Sets Cancel to keep the window open; nothing is closed yet.
    virtual void Form_QueryUnload(bool & /*Cancel*/) {}
    virtual void Form_Unload() {}
    // What Unload deletes: the window, or the frame that holds it.
    virtual QWidget *outermost() { return this; }

    void closeEvent(QCloseEvent *event) override
    {
        if (!s_closing) {
            bool cancel = false;
            Form_QueryUnload(cancel);
            if (cancel) {
                event->ignore();
                return;
            }
        }
        closing();
        event->accept();
    }

    // The closing steps, once: from here on the window is no longer loaded.
    void closing()
    {
        if (s_closing)
            return;
        Form_Unload();
        s_closing = true;
    }

private:
    // Only while the object is whole: a Window from its constructor's end to the start of
    // its destructor.
    static Window *current() { return static_cast<Window *>(s_instance.data()); }

    static inline QPointer<QWidget> s_instance;
    static inline bool s_closing = false;
};
