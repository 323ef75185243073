#pragma once

#include "variant.h"

#include <QDate>
#include <QDateTime>
#include <QString>
#include <optional>
#include <vector>

namespace dao { class Database; class Workspace; }

// A record of the edit window written into Katalog, and the entry rules of its boxes.

// The date rule of a box that is left: a bare day (under 3 characters) is that day of
// `today`'s month; the text is then rewritten as d.m.yyyy; what is no valid date gives
// the empty text.
QString UpravDatum(const QString &text, const QDate &today);
// The number rule of a box that is left: commas become points, the leading number is
// taken (an empty text or no number gives 0) and written with a decimal point.
QString UpravCislo(const QString &text);

// One field box: its Katalog column (Pol3C ...), its type letter and the text it holds;
// while that text is still the one the box was given, the value it was given too.
struct PoleZaznamu {
    QString Jmeno;
    QString Typ;
    QString Text;
    std::optional<Variant> Dana = std::nullopt;
};

struct UkladanyZaznam {
    qint32 Klic = 0;     // Inter of the record edited; 0 for a new one
    bool Kopie = false;  // every save creates a record
    qint32 Sekce = 0;    // the section a created record goes into
    std::vector<PoleZaznamu> Pole;
    QString Poznamka;
};

// The literal a box is stored as: the value it was given, as it stands (a time of day
// too), when the user left its text alone; else its text: a number by the number rule
// (never the raw text), a date as a date or null when empty or unreadable, a text quoted.
QString HodnotaPole(const PoleZaznamu &pole, const QDate &today);

// Writes the record in one transaction of `ws`: in creating mode (no key, or a copy)
// it takes the next key and inserts a blank record of the section first; then the
// fields and the note with the update time. Returns the key written to. A failure
// rolls everything back (the counter too) and raises the engine's error.
qint32 UlozZaznamDoKatalogu(dao::Workspace &ws, dao::Database &db, const UkladanyZaznam &zaznam, const QDateTime &now);

// The query of a record's row as the overview lists it: the columns `seznamPoli` of the
// record `inter` (the overview query's column list, "Inter, Pol1C, ...").
QString DotazRadkuZaznamu(const QString &seznamPoli, qint32 inter);

// The next free record key: the counter of S_Param, but never one that a record holds
// already (a counter that is Null or fell behind the keys).
qint32 DalsiKlic(dao::Database &db);
