#pragma once

#include <QString>

class MessageList;
class QWidget;

// A message literal ("240,Program již je spuštěn.") in the current language, or its
// Czech default where there is no translation. When the argument was a message, the
// caller's variable is left holding the Czech default text. A text whose first five
// characters hold no comma, or whose number is 0, is no message and comes back as it is;
// a comma there after something that is not a number raises a type mismatch.
QString PrelozText(QString &text);
QString PrelozText(const QString &text);

// Fills the list from table Jazyky of the language database, in ascending id order, with
// the texts of the language given (1 Czech, 2 English, any other number Chinese; the
// English text where the language's is Null). A row whose id came before is skipped.
// Any failure stops the reading and keeps what was read so far; it is not reported,
// since the Czech defaults stand in for whatever is missing.
void NactiPreklady(const QString &languageDatabase, const QString &jazyk, MessageList &list);
// The language whose texts NactiPreklady loads for a language setting: 1 Czech, 2 English,
// 3 Chinese (any other number).
int NactenyJazyk(const QString &jazyk);

// The texts Qt shows of its own (the buttons of the message boxes, the file chooser) in the
// language of the program's texts, from Qt's translations where the system has them;
// English needs none. A later call replaces the language of an earlier one.
void NastavJazykQt(const QString &jazyk);

// Translates the captions, tool tips, status-bar panels and tab captions of a window's
// controls in place, and its own caption unless keepCaption is 1. Controls of their own
// (the table editor) and the windows it owns are left to translate themselves.
void PrelozFormular(QWidget &form, quint8 keepCaption);
