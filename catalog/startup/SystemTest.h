#pragma once

#include <QWidget>

class LinkLabel;
class VarnexEditUni;

// The invisible probe that start-up loads and unloads at once: creating it proves that
// the table editor control can be created, and loading it measures KorekceVysky.
// Creating the control raises an error when it cannot be created.
class SystemTest : public QWidget
{
    Q_OBJECT
public:
    SystemTest();
    ~SystemTest() override;

    VarnexEditUni *VarnexEditUni1 = nullptr;
    LinkLabel *QirLinkUni1 = nullptr;
};

// Loads and unloads the probe; false when that raised an error.
bool ZkusSystemTest();

// The smallest height, in twips, that a window of the program can have: its frame and
// caption as the platform draws them.
int NejmensiVyskaOkna();

// Test hook: while set, creating the probe's table editor control fails, as it does when
// the control files are not registered. The program itself takes the hook from the
// environment: OSKAL_TEST_PROBE_FAILS=1 fails every start, OSKAL_TEST_PROBE_FAILS=first
// only a start without "R", so that the restart after registering succeeds.
void NastavSelhaniSondy(bool fails);
