#pragma once

#include <QString>
#include <QStringList>

// The file calls the program makes, with the old runtime's error numbers: VbError
// 53 file not found, 58 file already exists, 70 permission denied, 76 path not found,
// source "FileSystemObject", the description naming the file and the system's reason.
// Paths may use "\" as well as "/" as the separator; both mean "/".
class FileSystemObject
{
public:
    enum Attribute {
        Normal = 0,
        ReadOnly = 1,
        Hidden = 2,
        System = 4,
        Directory = 16,
        Archive = 32,
    };

    bool FileExists(const QString &path) const;
    bool FolderExists(const QString &path) const;

    // A destination ending in a separator names the folder to copy into. The copy is
    // written beside the destination first and renamed into place, so a failure never
    // leaves a half-written file. A read-only destination is refused even with
    // overwrite, as the old runtime did. A destination that is a symbolic link is the file
    // it names, written where that lies; the link stays.
    void CopyFile(const QString &source, const QString &destination, bool overwrite = true) const;

    // The name under which a file for destination is written, beside it, until it is
    // complete and takes destination's name: hidden, with this computer's mark and a
    // random part (".~QIRData.mdb.<computer>.<random>.tmp"), and no file's yet. Another
    // computer may run the same program folder from a shared drive: the mark keeps its
    // files apart.
    QString TemporaryName(const QString &destination) const;
    // Deletes the files that runs of this computer cut short left under TemporaryName's
    // names for destination, and the database engine's journals beside them; never another
    // file. Only while no run of this computer writes beside destination. Failures are
    // ignored.
    void DeleteTemporaries(const QString &destination) const;
    // Refuses to replace an existing destination.
    void MoveFile(const QString &source, const QString &destination) const;
    // Without force, a read-only file is refused.
    void DeleteFile(const QString &path, bool force = false) const;

    void CreateFolder(const QString &path) const;
    // Recursive. Without force, nothing is deleted when anything inside is read-only.
    void DeleteFolder(const QString &path, bool force = false) const;

    // For a folder, the total of the files in it and below.
    qint64 FileSize(const QString &path) const;

    // ReadOnly is "the owner cannot write"; Hidden is a name starting with a dot;
    // Directory marks folders. Archive and System have no meaning here.
    int GetAttributes(const QString &path) const;
    // Only ReadOnly is applied; the other bits are ignored.
    void SetAttributes(const QString &path, int attributes) const;

    // Pure string work on the path; the files need not exist.
    QString GetFileName(const QString &path) const;
    QString GetParentFolderName(const QString &path) const;
    QString BuildPath(const QString &path, const QString &name) const;

    // Names (not paths) of the files in folder matching a "*" / "?" pattern without
    // regard to case, sorted the same way. "*.*" matches names without a dot too.
    QStringList Files(const QString &folder, const QString &pattern = QStringLiteral("*")) const;
};
