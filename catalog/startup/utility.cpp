#include "utility.h"

#include "system.h"

void Pipni()
{
    sys::Beep(400, 150);
}
