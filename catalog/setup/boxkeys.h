#pragma once

class QEvent;
class QHBoxLayout;
class QLineEdit;
class QPushButton;
class QWidget;

// The keys of a setup window's text box, seen before the box: Enter and Down lock the box
// and go on to the next text box of the window (past its check boxes; after the last box
// to the next control), Up goes back to the one before, any other key unlocks the box
// again. True when the key was used up.
bool KlavesaBoxu(QLineEdit &box, const QEvent &event);

// The main window, which the setup windows open over; null before it is loaded.
QWidget *mainWindow();

// "Provedené změny nebudou zapsány. Pokračovat?" on closing a window with unsaved
// changes: true when the user lets the changes go.
bool ZahoditZmeny(const QWidget &window);

// A command button of a setup window's button row, named and with its caption and tool
// tip as message texts (the window translates them when it loads); Enter does not press
// it unless it has the focus.
QPushButton *TlacitkoRadku(QWidget &window, QHBoxLayout &row, const char *name, const char *caption, const char *tip);
