#pragma once

#include <QString>

class MessageList;

// The program's message texts in the current language: no window here, so that the
// catalog's data can word its errors too.

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
