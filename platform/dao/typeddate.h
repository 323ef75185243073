#pragma once

#include <QDate>
#include <QString>

// A date typed into a date field, read the one way both deliverables read it: the control
// library's date cells and the edit window's date boxes. Both take a day alone (one or two
// characters) as that day of today's month, a day number outside 1 to 31 as no date; and
// d.m, d.m., d.m.yy, d.m.yyyy (also with "/"), yyyy-mm-dd, a two-digit year 00-29 in this
// century and 30-99 in the last, a date the calendar lacks as unreadable. How the date is
// then written, and what an unreadable text becomes, is the caller's: the control refuses
// it and keeps its editor open, the edit window empties the box.
struct TypedDateRules {
    // The edit window reads generously, since what it cannot read is emptied: blanks before
    // and around a separator (tabs too), "." and "/" mixed, a year of one to four digits
    // as written (one digit in the two-digit window), years below 100. The control reads
    // only what it can be sure of, one kind of separator with blanks after it alone, a year
    // of two or four digits from 100, because it refuses the rest to the user's face.
    bool looseForms = false;
    // A time of day after a full date (h:nn or h:nn:ss; "T" or blanks before it, in
    // yyyy-mm-dd also fractions of a second) is read and dropped: an edit box shows a
    // stored date with its time, and a user who corrects the date leaves the time in.
    bool timeOfDay = false;
};

struct TypedDate {
    enum Kind {
        None,        // nothing typed, or a day alone outside 1 to 31
        Date,        // the date
        Unreadable,  // no date by the rules
    };
    Kind kind = None;
    QDate date;
};

// The typed text (blanks around it ignored) read by the rules; a day alone or a date
// without a year falls in `today`'s month or year.
TypedDate readTypedDate(const QString &typed, const QDate &today, const TypedDateRules &rules);
