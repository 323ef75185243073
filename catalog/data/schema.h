#pragma once

#include <QStringList>

// The catalog database's tables.

// The ten tables in the order every walk over all tables takes.
QStringList SeznamTabulek();
// Sets each listed table of Db aside as <name>_old; a table that is missing, or whose new
// name is taken, is skipped without a word.
void PrejmenujTabulky();
// Creates the ten tables on Db; the first statement that fails ends it with its error.
void VytvorTabulky();
// The ten creating statements, in creation order.
QStringList PrikazyTabulek();
