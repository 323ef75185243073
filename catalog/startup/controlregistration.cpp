#include "startup/controlregistration.h"

// The control library is linked with the program and needs no registering yet.
void RegistrujKomponentu(const QString &)
{
}
