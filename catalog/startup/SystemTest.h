#pragma once

#include <QWidget>

class VarnexEditUni;

// The invisible probe that proves the table editor control can be created.
class SystemTest : public QWidget
{
    Q_OBJECT
public:
    SystemTest();

private:
    VarnexEditUni *VarnexEditUni1;
};

// Loads and unloads the probe; false when that failed.
bool ZkusSystemTest();
