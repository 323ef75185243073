#pragma once

#include "dao.h"
#include "fso.h"
#include "messagelist.h"

#include <QString>
#include <memory>

// The state that the program's windows and modules share. It lives here, in one place,
// owned by these handles; start-up sets it and every window reads it.

// The one file-system object of all windows.
extern FileSystemObject Fso;
// The open catalog database QIRData.mdb and its workspace (user "admin").
extern std::unique_ptr<dao::Workspace> Ws;
extern std::unique_ptr<dao::Database> Db;
// The program folder, with a trailing "/"; every file name is built on it.
extern QString AppPath;
// The translated messages; null until start-up has loaded them.
extern std::unique_ptr<MessageList> Preklady;
// The language number: "1" Czech, "2" English, "3" Chinese.
extern QString Jazyk;
// This run restarted itself after registering the controls.
extern bool Restart;
// The data's version text ("0.0.0" when unreadable) and the program's own.
extern QString VerzeDat;
extern QString VerzeProgramu;
// How much higher than 405 twips the smallest window frame is; measured by the probe.
extern qint16 KorekceVysky;
// The workstation's name and the user's, handed to the table editor controls.
extern QString NazevStanice;
extern QString Uzivatel;

// The main window has closed: the program is ending, and nothing more may open.
extern bool KonecProgramu;
