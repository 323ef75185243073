#pragma once

#include "tabulix_global.h"
#include "variant.h"

#include <QString>

class MessageList;
class QWidget;

// The control library's own shared routines. They keep the library apart from the
// catalog program, which has routines of the same names with rules of its own; hence
// the namespace.
namespace tabulix {

// The texts the host handed over with SetLang: one list shared by every control and
// dialog of the library, kept as the library's own copy; null until a host gives one.
TABULIX_EXPORT void setTexts(const MessageList *texts);
TABULIX_EXPORT const MessageList *texts();

// The SQL literal of a value: Empty as '', Null as null, numbers with a decimal point,
// texts quoted with apostrophes doubled, Booleans as 1 and 0, dates as the date alone at
// midnight ('yyyy-mm-dd 00:00:00', the form the database stores dates in, so that the
// literal compares equal to a stored date). With `numeric`, a typed number text (decimal
// comma, no-break-space grouping, "" for 0) is written as a number; a text that is then
// no number raises error 10000 instead of reaching the statement. Other kinds raise
// error 10000 with source "Lib.CSQL".
TABULIX_EXPORT QString CSQL(const Variant &value, const bool &numeric = false);

// A message literal ("455,Další řádek nelze přidat.") in the host's language, else its
// Czech text. Everything before the first comma is the number; a text without a comma,
// with number 0, or with no number there is no message and comes back as it is. When
// it was a message, the argument is left holding the text after the comma.
TABULIX_EXPORT QString PrelozText(QString &text);
TABULIX_EXPORT QString PrelozText(const QString &text);

// Translates the captions and tool tips of a window's controls (labels, buttons, check
// and option boxes, group boxes, text and combo boxes, tab bars, menus and their items,
// status-bar labels); with flag 1 the window's own title stays as it is.
TABULIX_EXPORT void PrelozFormular(QWidget *window, const quint8 &flag = 0);

// Types one character into a text box or an editable combo box as the library's
// editors do: the key argument is consumed (set to 0); `override` >= 0 is the key to
// type instead. Control characters type nothing; a full box (MaxLength reached) beeps.
// The character goes in at the cursor, or takes the place of a selection, as an edit
// of the box's own that Ctrl+Z takes back; the limit counts the text as it is after that.
TABULIX_EXPORT void KeyPressInsert(QWidget *box, qint16 &keyAscii, const qint16 &override = -1);
// The same for all a key typed, as many characters as an input method or a compose
// sequence gives at once: they go in in their order while they fit under MaxLength,
// each whole (a character outside the Basic Multilingual Plane takes both halves of its
// surrogate pair or nothing); the first that does not fit and those after it stay out,
// with a beep. Control characters in it type nothing.
TABULIX_EXPORT void KeyPressInsert(QWidget *box, const QString &typed);

// The first `length` code units of a text, one fewer where the cut would part a
// surrogate pair: a limit takes a character whole or not at all.
TABULIX_EXPORT QString LeftWhole(const QString &text, qsizetype length);
// Keeps every character of a text or combo box whole: a half of a surrogate pair that
// the box's own limit left alone (a paste, a text set longer than the limit) goes too.
TABULIX_EXPORT void KeepCharactersWhole(QWidget *box);

}  // namespace tabulix
