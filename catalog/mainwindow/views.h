#pragma once

#include <exception>

// The three catalog views of the current section: the overview, the selection window
// and the preview window.

// Shows the overview and fills it; then the selection and preview windows where their
// settings ask for them. A view that fails to fill does not keep the others from opening;
// the first such failure comes back, for a command to tell (null when all were filled).
std::exception_ptr ZobrazPohledy();
// Unloads the three views, those that are loaded; the next use creates them anew.
void UnloadViews();
