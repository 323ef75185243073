#pragma once

#include <QString>

// Registers one control file (its full path) through the platform's self-registration,
// with the file's folder current meanwhile; every failure is shown to the user, the
// caller learns nothing.
void RegistrujKomponentu(const QString &path);

// The folder part of a path, without its last separator ("/" or "\").
QString SlozkaSouboru(const QString &path);
// Splits a path at its last separator; without one, the folder is the current folder and
// the file name the whole path. A file in the root has the root's name ("/" here) as its
// folder.
void RozdelCestu(const QString &path, QString &folder, QString &fileName);
bool JeOddelovac(const QString &character);

// The file that stands here for a control file of the old program, in the program
// folder: the table editor control (Tabulix.ocx, and QirEdit.ocx before it) is the
// control library beside the program; the link label controls (QirLinkUni.ocx,
// QirLink.ocx) are part of the program and have no file of their own (empty).
QString SouborOvladace(const QString &oldName);
// Registers the file that stands for that control file, where there is one.
void RegistrujOvladac(const QString &oldName);
