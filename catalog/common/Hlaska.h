#pragma once

#include <QWidget>

class QLabel;

// The wait window: one line of text while a long task runs. The caller shows it modeless
// and closes it when the task is done.
class Hlaska : public QWidget
{
    Q_OBJECT
public:
    explicit Hlaska(QWidget *parent = nullptr);

    // Puts the text into the window and paints it at once, since the task that follows
    // keeps the event loop busy. (The window's own procedure of this name; C++ gives a
    // class's name to its constructor only.)
    void Zprava(const QString &text);

    QLabel *lbl = nullptr;
};
