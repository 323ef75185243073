#pragma once

#include "common/modalform.h"

class QLabel;
class QPushButton;
class QTimer;

// The confirmation after a successful save: shown modally, it closes itself a second
// later, or on its button. Each use is a fresh window with the text it was designed with.
class SaveBox : public ModalForm<SaveBox>
{
    Q_OBJECT
    friend ModalForm<SaveBox>;

public:
    // Replaces the text, widening the window where the text needs it.
    void Message(const QString &text);

    QLabel *lbl = nullptr;
    QPushButton *cmd = nullptr;
    QTimer *tmr = nullptr;

private:
    SaveBox();
    void tmr_Timer();
};
