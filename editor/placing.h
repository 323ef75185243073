#pragma once

#include "system.h"

#include <QWidget>

// Child controls are placed in twips, as the control's layout rules are written.
namespace placing {

inline void place(QWidget *w, int leftTwips, int topTwips)
{
    w->move(sys::toPixels(leftTwips), sys::toPixels(topTwips));
}
inline int leftOf(const QWidget *w) { return sys::toTwips(w->x()); }
inline int topOf(const QWidget *w) { return sys::toTwips(w->y()); }
inline int widthOf(const QWidget *w) { return sys::toTwips(w->width()); }
inline int heightOf(const QWidget *w) { return sys::toTwips(w->height()); }

}  // namespace placing
