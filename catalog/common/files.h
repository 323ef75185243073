#pragma once

#include <QString>
#include <QtGlobal>

// The temporary folder, without a trailing "/".
QString DocasnaSlozka();

// Opens a document with the application the desktop associates with its type, or starts
// a program with its parameters in the folder `slozka` (the file system's root when none
// is given); does not wait for it. Answers the start's result (above 32) on success. A
// failure is reported to the user here, after a beep, with the file's name where the
// message ends in ":", and answers 0.
qint32 OtevriSoubor(const QString &soubor, const QString &parametry, const QString &slozka = QString());

// The message for a failed start's result code, in the current language.
QString ChybaOtevreni(int result);

// Waits for the process to end and answers its exit code. Blocking freezes the windows
// until then; otherwise they stay responsive while it waits.
qint32 CekejNaProces(qint32 processId, bool block);

// Downloads the address afresh into the target file; True when the whole file arrived.
// Reports nothing: the caller decides what a failure means.
bool StahniSoubor(const QString &adresa, const QString &cil);
