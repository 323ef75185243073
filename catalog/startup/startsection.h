#pragma once

// Makes a section current at start: the one that was current when the program last
// ended, else the first by name. Writes the main window's section label. With no section
// at all it says so and leaves the label's tag "0". Errors reach the caller.
void NastavSekci();
