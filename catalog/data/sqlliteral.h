#pragma once

#include "variant.h"

#include <QString>

// The SQL literal of a value: every value that goes into a statement passes through here.
// Texts are quoted with apostrophes doubled, numbers written with a decimal point, dates
// as 'yyyy-mm-dd hh:nn:ss', Booleans as 1 and 0, Empty as '' and Null as null.
// With `numeric`, a text typed by the user as a number (decimal comma, non-breaking-space
// grouping) is written as that number; a text that is then still no number raises
// error 10000 rather than reach the statement. Any other kind raises error 10000 with
// source "Lib.CSQL".
QString CSQL(const Variant &value, bool numeric = false);
