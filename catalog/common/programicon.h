#pragma once

#include <QIcon>
#include <QPixmap>

// The program's own picture, drawn here rather than shipped: a catalog's box of cards.
// The about window shows it; every window of the program has it as its icon.
QPixmap ObrazekProgramu(int size);
// The picture in the sizes that window title bars, task bars and menus ask for.
QIcon IkonaProgramu();
