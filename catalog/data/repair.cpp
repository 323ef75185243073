#include "data/repair.h"

// The repair is not built yet; the file is left as it is.
void OpravDatabazi()
{
}
