#pragma once

#include <QString>

#include <optional>

// A catalog shared by several workstations: whether this start is one of them, and the
// workstation's name and its user's login, asked for at start.

// Whether a file system of this type (as the mount table names it: "nfs4", "cifs",
// "fuse.sshfs" ...) is reached over a network, so that other computers may share it.
bool SitovySystemSouboru(const QString &type);
// Whether the file or folder lies on such a file system; a symbolic link counts where it
// points to. A path that does not exist is not on one.
bool NaSitovemDisku(const QString &path);

// Whether this start is one of a network workstation of a shared catalog: setting
// "SitovaStanice" when it reads True or False, else whether QIRData.mdb lies on a
// network file system.
bool SitovaStanice();
// Whether the program runs from a network drive rather than a local disk: setting
// "ProgramZeSite" when it reads True or False, else whether the program folder lies on a
// network file system.
bool ProgramZeSite();

// The longest workstation name the prompt allows, in characters.
constexpr int MaxDelkaNazvuStanice = 30;

// NazevStanice from setting "Stanice", asked for and kept when there is none yet.
// nullopt when a name is set; otherwise the exit code the program ends with.
std::optional<int> NastavNazevStanice();
// The login window; Uzivatel from its user name once the password is confirmed.
// nullopt after a login; 0 when the user cancelled it and the program ends.
std::optional<int> Prihlaseni();
