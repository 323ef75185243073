#pragma once

#include <QApplication>

// The program's application object. Every event of every window passes through it, and
// it is the last net under their handlers: an error that a handler let through (a
// catalog locked by another workstation, a damaged file) is shown with its number and
// text, and the program goes on, where the platform would end it.
class Aplikace : public QApplication
{
public:
    Aplikace(int &argc, char **argv);
    bool notify(QObject *receiver, QEvent *event) override;
};
