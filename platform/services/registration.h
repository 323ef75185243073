#pragma once

#include <QString>
#include <QtGlobal>
#include <functional>

// The setup toolkit's self-registration of a control file, as this platform can check
// it: the file must load as a library and export its registration entry
// DllRegisterServer, which is called. The old result codes:
//   0 registered;
//   2 the component system cannot start for the file (no application object);
//   3 the file cannot be loaded as a library (a missing file too);
//   4 the file has no registration entry;
//   5 the registration entry reported an error (a result other than 0).
qint16 DLLSelfRegister(const QString &path);

// While set, the hook answers in place of the check (tests). Gives back the one before.
std::function<qint16(const QString &)> setSelfRegisterHook(std::function<qint16(const QString &)> hook);
