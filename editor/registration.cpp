#include "tabulix_global.h"

// The registration entry that the program's start-up looks for when it checks
// that the control library is present and loadable. There is nothing to record
// on this platform, so registering always succeeds.
extern "C" TABULIX_EXPORT int DllRegisterServer()
{
    return 0;
}
