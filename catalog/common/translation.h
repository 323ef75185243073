#pragma once

#include "common/messages.h"

#include <QString>

class QWidget;

// The texts Qt shows of its own (the buttons of the message boxes, the file chooser) in the
// language of the program's texts, from Qt's translations where the system has them;
// English needs none. A later call replaces the language of an earlier one.
void NastavJazykQt(const QString &jazyk);

// Translates the captions, tool tips, status-bar panels and tab captions of a window's
// controls in place, and its own caption unless keepCaption is 1. Controls of their own
// (the table editor) and the windows it owns are left to translate themselves.
void PrelozFormular(QWidget &form, quint8 keepCaption);
