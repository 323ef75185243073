#pragma once

// A message box that a benchmark did not expect would wait for a user: it ends the run
// with the box's text instead.

#include "msgbox.h"

#include <cstdio>
#include <cstdlib>

inline msgbox::ScriptedAnswerer &endOnUnexpectedBoxes(const char *bench)
{
    static msgbox::ScriptedAnswerer answerer;
    static const char *name = nullptr;
    name = bench;
    answerer.onUnexpected = [](const msgbox::Shown &box) {
        std::fprintf(stderr, "%s: unexpected message: %s\n", name, qPrintable(box.text));
        std::exit(1);
    };
    msgbox::setAnswerer(&answerer);
    return answerer;
}
