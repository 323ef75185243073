#include "data/conversion.h"

// No conversion is built yet: data of another version are not taken.
bool KonverzeDat()
{
    return false;
}
