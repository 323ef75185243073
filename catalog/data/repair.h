#pragma once

#include <QString>
#include <memory>

namespace dao {
class Database;
class Workspace;
}

// The repair of the closed catalog file: a copy kept (data/archive.h, UschovejKatalog),
// the file compacted by the engine into QIRData.new beside it, which is then written into
// the catalog in place (a symbolic link to the catalog stays a link), then opened as ws
// and db and tidied: the scratch tables whose names begin with "tmp" (in any case)
// dropped. Raises on the first failure; what was done up to it stays, and the kept copy
// is the way back.
void OpravKatalog(const QString &catalog, std::unique_ptr<dao::Workspace> &ws, std::unique_ptr<dao::Database> &db);
