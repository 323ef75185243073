#pragma once

#include <QStringList>

namespace dao { class Database; }

// The catalog database's tables.

// The ten tables in the order every walk over all tables takes.
QStringList SeznamTabulek();
// Sets each listed table of the database aside as <name>_old; a table that is missing, or whose new
// name is taken, is skipped without a word.
void PrejmenujTabulky(dao::Database &db);
// Creates the ten tables on the database; the first statement that fails ends it with its error.
void VytvorTabulky(dao::Database &db);
// The ten creating statements, in creation order.
QStringList PrikazyTabulek();
