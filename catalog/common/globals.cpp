#include "common/globals.h"

FileSystemObject Fso;
std::unique_ptr<dao::Workspace> Ws;
std::unique_ptr<dao::Database> Db;
QString AppPath;
std::unique_ptr<MessageList> Preklady;
QString Jazyk = QStringLiteral("1");
bool Restart = false;
QString VerzeDat;
QString VerzeProgramu;
qint16 KorekceVysky = 0;
QString NazevStanice;
QString Uzivatel;
bool KonecProgramu = false;
