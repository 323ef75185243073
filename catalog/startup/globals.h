#pragma once

#include "dao.h"
#include "messagelist.h"

#include <QString>
#include <memory>

// The state that the program's windows and modules share. It lives here, in one place,
// owned by these handles; start-up sets it and every window reads it.

// The open catalog database QIRData.mdb and its workspace (user "admin").
extern std::unique_ptr<dao::Workspace> Ws;
extern std::unique_ptr<dao::Database> Db;
// The program folder, with a trailing "/"; every file name is built on it.
extern QString AppPath;
// The translated messages; null until start-up has loaded them.
extern std::unique_ptr<MessageList> Preklady;
// The language number: "1" Czech, "2" English, "3" Chinese.
extern QString Jazyk;
