#pragma once

class QLabel;

// The percentage a progress bar shows for a fraction done (0 to 1; beyond either end
// counts as that end): rounded, and kept off 0 and 100 unless showEnds, so that a bar
// that runs shows it is neither idle nor finished before it is.
int ProcentaPrubehu(double fraction, bool showEnds);

// Draws a progress bar into the picture: a dark blue bar on white, as wide as the
// fraction done, with the percentage in the middle, white where the bar lies under it.
void KresliPrubeh(QLabel &picture, float fraction, bool showEnds);
