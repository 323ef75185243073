#pragma once

#include <QPixmap>
#include <QString>
#include <QtGlobal>
#include <functional>

class QLabel;
class QMenu;
class QMdiArea;
class QWidget;

// What the windows need of the main window without depending on its class: the MDI area
// their frames go into, its status bar's message and its end. The main window registers
// them when it is made; while there is none, there is no area and nothing to end.

// The main window's MDI area, the status bar panel that shows what the program is doing,
// and its "Konec".
void RegistrujHlavniOkno(QMdiArea *area, QLabel *statusPanel, std::function<void()> konec);
// Null while there is no main window.
QMdiArea *MdiOblast();
// The status bar's message: what the program is doing, nothing when it is done.
void ZpravaStavu(const QString &text);
// "Konec": the main window closes and the program ends.
void UkonciProgram();

// The main window's attachment menu, which the preview window pops up, and its pictures
// by their number in its image list (4 the document icon, 5 the PDF icon).
void RegistrujNahledy(QMenu *popup, std::function<QPixmap(int)> obrazky);
// Null while there is no main window.
QMenu *PopupNahledy();
// A null picture while there is no main window.
QPixmap ObrazekHlavnihoOkna(int index);
