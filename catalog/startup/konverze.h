#pragma once

// Brings the open catalog (Db in Ws) to this program's version, with a safety copy and a
// wait window; every failure is told to the user. False after a failure: the catalog is
// then as it was before.
bool KonverzeDat();
