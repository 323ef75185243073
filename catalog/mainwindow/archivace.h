#pragma once

// The main window's "Archivace" commands: the catalog backed up to the folder zaloha/
// beside the program, and restored from it.

// "392,Záloha na pevný disk"
void ZalohaNaDisk();
// "191,Obnova z pevného disku": afterwards the windows show the catalog that is open,
// the restored one or, after a failure, the one that was.
void ObnovaZDisku();
