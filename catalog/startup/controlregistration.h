#pragma once

#include <QString>

// Registers one control file; every failure is shown to the user, the caller learns nothing.
void RegistrujKomponentu(const QString &path);
