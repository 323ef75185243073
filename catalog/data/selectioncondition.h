#pragma once

#include "data/overviewquery.h"

#include <QString>
#include <optional>
#include <vector>

class Variant;

// The selection condition of the selection window: what the user may type in a row, the
// SQL condition over Katalog that the rows make together, its readable text, and the
// checks that refuse malformed input. Pure functions: the window shows the messages.
//
// A row holds values separated by commas (any of them), an asterisk for an open end or
// an inclusive range (10*300, *300, 10*), in a text row an asterisk at an end for a
// wildcard, "*" alone for a filled field and "_" alone for an empty one.
//
// Every term reaches the SQL as a literal: a text through CSQL (apostrophes doubled), a
// number only when it reads as a plain number (then as typed), a date only when it reads
// as a date (compared through the layer's format). Where the rows are sound, the text is
// the one the old program built; only hostile or malformed terms come out otherwise:
// refused (a number or date that is none), or quoted where the old text broke open.
// The condition is meant to follow the section's filter in brackets: "sekce=S AND (w)".

// One condition row: what its box holds, its type letter (C text, D date, any other a
// number) and its Katalog column (Pol3D). The column must be one of the catalog's: the
// window takes it from the overview query's descriptors, which admit no other.
struct RadekVyberu {
    QString Text;
    QString Typ;
    QString Sloupec;
};

// Why the rows were refused; rows count from 1.
struct ChybaVyberu {
    enum Druh {
        Zdvojeni,  // a forbidden doubled character (message 343 with the pair)
        Konvence,  // a malformed asterisk term (message 342)
        Hodnota,   // a number or date term that is none (message 97 on applying)
    };
    Druh Duvod;
    int Radek = 0;
    QString Dvojice;  // Zdvojeni: the pair found
};

struct PodminkaVyberu {
    // The condition of the rows that built: after a malformed term, the rows completed
    // before its row; a row with a number or date that is none is left out.
    QString Podminka;
    // The first refusal: a malformed term, else the first row with a value that is none.
    std::optional<ChybaVyberu> Chyba;
};

// The check run before every build: the first row (whose trimmed text is not empty) with
// ",,", "..", "**", "%%" or "__", the pairs tried in this order.
std::optional<ChybaVyberu> KontrolujVyraz(const std::vector<RadekVyberu> &radky);

// The condition of the rows, the row `vynechany` (1-based; 0 none) left out.
PodminkaVyberu SestavPodminku(const std::vector<RadekVyberu> &radky, int vynechany = 0);

// The readable text of a condition: the columns 1.. of `sloupce` by their captions, and
// the SQL words and signs the user need not see rewritten or dropped; its words ("a",
// "je") in the current language.
QString CitelnyText(const QString &podminka, const std::vector<SloupecPrehledu> &sloupce);

// The number of places at which `hledany` occurs in `text`, each search starting one
// character after the previous hit; exact comparison.
int PocetVyskytu(const QString &text, const QString &hledany);

// How a field box's drop-down list gives a date field's values: as eight digits, year
// first (the selection window offers days, which its conditions compare), or as stored
// (the edit window offers the values themselves, a time of day too).
enum class DatumSeznamu { Dny, Ulozene };
// The query of a field box's drop-down list, in the selection window and in the edit
// window: the distinct values of `sloupec` among the section's records meeting
// `podminka` (empty: the whole section), in order.
QString DotazSeznamuVyberu(qint32 sekce, const SloupecPrehledu &sloupec, const QString &podminka,
                           DatumSeznamu datum = DatumSeznamu::Dny);
// One value of that query as the list shows it: a date's digits as d.m.yyyy, a number
// with a decimal point (a comma would split the term), a missing value as nothing.
QString PolozkaSeznamuVyberu(const Variant &hodnota, const QString &typ);

// The section's filter followed by the condition in brackets, for any statement on
// Katalog: "sekce=S", or "sekce=S AND (w)" when w holds more than blanks.
QString FiltrVyberu(qint32 sekce, const QString &podminka);
