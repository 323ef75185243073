#pragma once

// Brings the open catalog to the program's version. False after a failure that was
// already reported to the user.
bool KonverzeDat();
