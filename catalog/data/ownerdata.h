#pragma once

#include <QString>
#include <array>

namespace dao { class Database; }

// The owner's one row of table Majitel, as the owner window edits it.
struct UdajeMajitele {
    // Ico, Dic, Nazev, Ulice, Mesto, Psc, Telefon, Www, Email, WebAktualizace: the order
    // of the window's boxes 0 to 9.
    std::array<QString, 10> Texty;
    bool Dph = false;
};

// What each box may hold: no more than its column of Majitel takes (the IČO box keeps
// its shorter design length).
inline constexpr std::array<int, 10> DelkyMajitele = {10, 15, 40, 40, 40, 5, 100, 40, 40, 70};

// The statements that write the row: the update has no condition, for the table has one
// row; the insert makes it when there is none yet.
QString UpdateMajitele(const UdajeMajitele &udaje);
QString InsertMajitele(const UdajeMajitele &udaje);

// Writes the row: the update, and the insert when the update changed no row. A refusal
// of the database comes back as its error.
void UlozMajitele(dao::Database &db, const UdajeMajitele &udaje);

// The row as the owner window shows it, each text without the blanks at its ends. A value
// that cannot be read (no row yet, a Null, a column missing) reads as the empty text, the
// VAT flag as false. A refusal of the whole table comes back as its error.
UdajeMajitele NactiMajitele(dao::Database &db);
// The address for updates over the web (column WebAktualizace) without the blanks at its
// ends; empty when there is no row or no address.
QString AdresaAktualizace(dao::Database &db);
