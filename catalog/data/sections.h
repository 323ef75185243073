#pragma once

#include "variant.h"

#include <QString>
#include <QtGlobal>

#include <optional>
#include <vector>

namespace dao { class Database; class Workspace; }

// The catalog's sections (table Sekce) and what belongs to a section beside its row: its
// field definitions in Definice and VychoziDefinice, and the users' stored overview
// layouts in S_Grid. A refusal of the database comes back as its error.

// The most sections a catalog holds (the number is a byte, and 0 means none).
inline constexpr int MaxSekci = 250;
// How long a section's name may be (the column Nazev of Sekce).
inline constexpr int DelkaNazvuSekce = 30;

// The lowest positive section number that neither a section nor a record has.
qint32 VolneCisloSekce(dao::Database &db);

// Section `sekce`'s 30 default field definitions, written into VychoziDefinice and into
// Definice after whatever either table still held for that number is removed: every
// field shown, as text, left aligned, captioned Pol1 to Pol30, field 1 the description.
void VlozVychoziDefinice(dao::Database &db, qint32 sekce);

// A new section named `nazev` under the lowest free number, which it returns. A number
// used before starts clean: no definitions and no stored overview layout of the section
// that had it are kept. One transaction of `ws`: a refused statement leaves nothing of
// the section behind.
qint32 VlozSekci(dao::Workspace &ws, dao::Database &db, const QString &nazev);

void PrejmenujSekci(dao::Database &db, qint32 sekce, const QString &nazev);

// Removes the section's definitions (Definice, then VychoziDefinice) and then its row, in
// one transaction of `ws`; the records of Katalog are not touched.
void SmazSekci(dao::Workspace &ws, dao::Database &db, qint32 sekce);

// Whether Katalog holds a record of the section.
bool SekceMaZaznamy(dao::Database &db, qint32 sekce);

// A row of Sekce as it is stored: its number and its name, either of which may be Null.
struct RadekSekce {
    Variant Sekce;
    Variant Nazev;
};
// The sections by name, as the section menus, the sections window and the definitions
// window list them.
std::vector<RadekSekce> SeznamSekci(dao::Database &db);
// Whether the catalog has a section at all.
bool JsouSekce(dao::Database &db);
// Whether the section numbered `sekce` (as stored: a Null number has none) has field
// definitions; a section without any has nothing to show.
bool SekceMaDefinice(dao::Database &db, const Variant &sekce);

// Why a catalog's section names could not be told apart in the section menus: the first
// name (by its index in `nazvy`) that is empty, or that an earlier name already is. Names
// compare as the catalog compares texts (case aside, in Czech order), without the blanks
// at either end, which no menu shows.
struct NerozlisenyNazev {
    enum Druh { Prazdny, Stejny };
    Druh Duvod;
    size_t Index;
};
std::optional<NerozlisenyNazev> NerozlisitelnyNazev(const std::vector<QString> &nazvy);
