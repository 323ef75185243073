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
std::vector<SloupecPrehledu> SloupcePrehledu(1);
QString SeznamPoli;
quint8 PocetSloupcu = 0;
bool KonecProgramu = false;
