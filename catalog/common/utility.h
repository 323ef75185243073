#pragma once

#include <QObject>
#include <QString>
#include <QtGlobal>
#include <exception>

class QKeyEvent;
class QLineEdit;

// Sounds a warning beep; every caller of the program uses 400 Hz for 150 ms.
void Pipni(qint32 frequency, qint32 duration);

// Sends a key stroke to the widget that has the focus, as if typed: key is a virtual-key
// code in the low byte, modifiers carries Shift (1), Ctrl (2) and Alt (4) in its high
// byte. The stroke carries exactly the modifiers asked for, whatever is held meanwhile.
// The edit windows turn Enter and Down into Tab (9, 0) and Up into Shift+Tab (9, 256).
void PosliKlavesu(qint16 key, qint16 modifiers);

// The length rule of a text box, for a typed character. keyEvent is the key press that
// brings it (or nullptr); it is swallowed, so that the box does not insert the character
// itself. key is the character's code, or -1 to take the character from keyEvent.
// Codes below 32 do nothing more. When the box holds its maximum length already, the
// character is dropped with a beep; otherwise it goes in at the cursor, or takes the
// place of a selection, and the cursor moves past it. The limit counts the text as it
// is after that, so a full box takes a character typed over its selected text. Any
// Unicode character goes in.
// A box keeps Qt's default maximum length (32767) where it has no limit of its own.
void HlidejDelku(QLineEdit &box, QKeyEvent *keyEvent, qint16 key);

// Routes the typed characters of a box through HlidejDelku for as long as the box lives,
// as the windows' key-press handlers did. Editing keys (arrows, Backspace, Delete, Enter,
// shortcuts) reach the box as usual, and so does composed text from an input method,
// which beeps when the box cannot take all of it. The line edit of an editable combo box
// is guarded where its keys arrive, at the combo box.
void HlidejDelkuBoxu(QLineEdit &box);

// The major number of a version text ("3.0.4" gives 3); -1 when no "." follows a first
// character. A number beyond the 16-bit range raises error 6 (overflow).
qint16 HlavniVerze(const QString &verze);

// Runs a step whose failure must not stop what follows (start-up's later steps, the
// views opening one after another); true when it ran through.
template <typename F>
bool ignoreErrors(F &&step)
{
    try {
        step();
        return true;
    } catch (const std::exception &) {
        return false;
    }
}
