#pragma once

#include <QString>

// A message literal ("240,Program již je spuštěn.") in the current language, or its
// Czech default where there is no translation. When the argument was a message, the
// caller's variable is left holding the Czech default text. A text whose first five
// characters hold no comma, or whose number is 0, is no message and comes back as it is;
// a comma there after something that is not a number raises a type mismatch.
QString PrelozText(QString &text);
QString PrelozText(const QString &text);
