#pragma once

#include <QString>
#include <QtGlobal>

// Splits a text into items one call at a time, with one state for the whole program: a
// caller finishes splitting one text before another starts.
// - A text that is not empty starts afresh: it and the delimiter become the state. With
//   n of 0 or less that is all the call does; it answers "".
// - An empty text goes on in the stored text: with n above 0 from its start, with n of 0
//   or less (n is then set to 1) from where the last call stopped.
// - n above 1 skips items: the n-th is answered, "" when there are not that many. n is
//   lowered by one for every item ended by a delimiter. An empty item answers " ".
// - After the last item, "" follows. An empty delimiter finds nothing, so the whole rest
//   is one item and the next call answers "".
QString DalsiPolozka(const QString &text, const QString &delimiter, qint16 &n);
