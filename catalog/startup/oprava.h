#pragma once

// Held Ctrl at start: asks, then repairs and compacts the closed catalog file and leaves
// Ws and Db open on it; tells the user the outcome.
void OpravDatabazi();
