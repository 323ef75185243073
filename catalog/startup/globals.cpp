#include "globals.h"

std::unique_ptr<dao::Workspace> Ws;
std::unique_ptr<dao::Database> Db;
QString AppPath;
std::unique_ptr<MessageList> Preklady;
QString Jazyk = QStringLiteral("1");
