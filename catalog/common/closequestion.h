#pragma once

#include <functional>

class QCloseEvent;
class QWidget;

// "Byly provedeny změny. Uložit?" as a window with unsaved edits closes: Yes saves (the
// save says itself what failed, and a failed save keeps the window and its edits), No
// lets the edits go, Cancel keeps the window. Accepts or ignores the close event.
void ZavriSeZmenami(QWidget &window, QCloseEvent &event, const std::function<bool()> &uloz);
