#pragma once

#include <QPixmap>
#include <QtGlobal>
#include <functional>
#include <optional>

class QLabel;
class QMenu;
class QMdiArea;
class QWidget;

// What the windows need of the main window without depending on its class: the MDI area
// their frames go into, and the current section. The main window registers both when it
// is made; while there is none, there is no area and no section.

// The main window's MDI area and its section label (the label shows the section's name
// and carries its number as the property "Tag").
void RegistrujHlavniOkno(QMdiArea *area, QLabel *sectionLabel);
// Null while there is no main window.
QMdiArea *MdiOblast();

// The current section's number; none when no section is current ("0" or nothing).
// A tag that is no whole number raises error 13: it must never reach a statement.
std::optional<qint32> AktualniSekce();
// Makes a section current: its caption (shown as it stands) and its number; none clears.
void NastavAktualniSekci(std::optional<qint32> sekce, const QString &caption);

// The main window's attachment menu, which the preview window pops up, and its pictures
// by their number in its image list (4 the document icon, 5 the PDF icon).
void RegistrujNahledy(QMenu *popup, std::function<QPixmap(int)> obrazky);
// Null while there is no main window.
QMenu *PopupNahledy();
// A null picture while there is no main window.
QPixmap ObrazekHlavnihoOkna(int index);
