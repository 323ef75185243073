#pragma once

#include <QGuiApplication>

// Shows the hourglass pointer for as long as it lives, so that every way out of a long
// task gives the normal pointer back.
class WaitCursor
{
public:
    WaitCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QGuiApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor &) = delete;
    WaitCursor &operator=(const WaitCursor &) = delete;
};
