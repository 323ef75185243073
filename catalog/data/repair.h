#pragma once

// Repairs and compacts the catalog file before start-up opens it.
void OpravDatabazi();
