#pragma once

#include <functional>

class QWidget;

// "Byly provedeny změny. Uložit?" as a window with unsaved edits closes: Yes saves (the
// save says itself what failed, and a failed save keeps the window and its edits), No
// lets the edits go, Cancel keeps the window. True when the window may close.
bool ZavriSeZmenami(QWidget &window, const std::function<bool()> &uloz);
