#pragma once

#include <QString>
#include <QtGlobal>
#include <vector>

namespace dao { class Database; class Workspace; }

// A section's field definitions as the definitions window edits them: reading the rows,
// saving them into Definice and VychoziDefinice with the conversion of the stored values
// of every field whose type changes, copying them to another section, and the default rows.

// One definition row in its order; the row's position gives its Poradi.
struct RadekDefinice {
    QString Pol;        // the field slot, "Pol1" to "Pol30"
    bool Zobraz = false;
    bool Popis = false;
    QString Nazev;
    QString Typ;        // C, N or D
    QString Zarovnani;  // L, C or R
};

// A section's definitions as last saved (VychoziDefinice) in their order, with the
// caption, type and alignment trimmed; empty when the section has none.
std::vector<RadekDefinice> NactiUlozeneDefinice(dao::Database &db, qint32 sekce);

// The rows of a section that has no saved definitions yet: fields 1 to 20 shown.
std::vector<RadekDefinice> GenerovaneRadkyDefinice();
// The default rows: every field shown, field 1 the description field, caption "Pol"
// and the slot number, text, left.
std::vector<RadekDefinice> VychoziRadkyDefinice();

// The slot number of a field ("Pol12" gives 12); 0 when it is no slot of the catalog.
int CisloPole(const QString &pol);

// A field whose type changes with a save: its slot, its stored and new type letters and
// the caption it is saved with.
struct ZmenaTypu {
    int Pole = 0;
    QString Stary;
    QString Novy;
    QString Nazev;
};

// The fields whose type differs from the type stored in Definice, the stored types all
// read before any row is rewritten (a moved field keeps its slot and is converted too).
// Types compare in upper case; a pair outside C, N and D converts nothing.
std::vector<ZmenaTypu> PlanKonverze(dao::Database &db, qint32 sekce, const std::vector<RadekDefinice> &radky);

// The statement that converts one field's values of the section into the column of its
// new type; empty when no value can convert (between number and date). Only a value that
// converts is written, and only where the new column does not hold that value already
// (in its own form, "2,5" for 2.5): an empty value or one that does not convert leaves
// the record as it was. So a type changed and changed back finds every value as it was.
QString KonverzeSql(qint32 sekce, const ZmenaTypu &zmena);

// What the conversion of one field would do to the section's stored values.
struct DopadKonverze {
    ZmenaTypu Zmena;
    qint64 Neprevedene = 0;  // values that do not convert: they stay in the old column
    qint64 Prepsane = 0;     // values of the new column that converted ones replace
};
// The fields of the plan whose conversion leaves values behind or replaces any, in the
// plan's order.
std::vector<DopadKonverze> DopadKonverzi(dao::Database &db, qint32 sekce, const std::vector<ZmenaTypu> &plan);

// Writes the rows as the section's definitions into both tables and converts the values
// of every field whose type changed, in one transaction of ws: a failure leaves every
// table as it was and is passed on.
void UlozDefiniceSekce(dao::Workspace &ws, dao::Database &db, qint32 sekce, const std::vector<RadekDefinice> &radky);

// Makes the saved definitions of section zdroj those of section cil, in both tables,
// through the scratch table tmpDefinice, in one transaction of ws: a failure leaves
// every table as it was and is passed on.
void ZkopirujDefinice(dao::Workspace &ws, dao::Database &db, qint32 zdroj, qint32 cil);
