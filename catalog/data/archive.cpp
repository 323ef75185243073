#include "data/archive.h"

#include "common/messages.h"
#include "dao.h"
#include "data/schema.h"
#include "data/version.h"
#include "fso.h"
#include "vberror.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <unistd.h>

namespace {

const QString kSource = QStringLiteral("Archivace");

QString sibling(const QString &catalog, const QString &name)
{
    return QFileInfo(catalog).absolutePath() + QLatin1Char('/') + name;
}

bool isDatabase(const QString &file)
{
    try {
        dao::Workspace ws;
        ws.OpenDatabase(file, false, true);
        return true;
    } catch (const VbError &) {
        return false;
    }
}

bool isFile(const QString &path)
{
    return QFileInfo(path).isFile() || QFileInfo(path).isSymLink();
}

// The copies beside the catalog moved on by one: a new copy takes the name QIRData.zal,
// the QIRData.zal before it QIRData.zdb. Until Done() the step can be taken back whole,
// the QIRData.zdb that it replaces too.
class KeptCopies
{
public:
    explicit KeptCopies(const QString &catalog)
        : m_kept(SouborZalohyOpravy(catalog)), m_previous(SouborPredchoziZalohy(catalog))
    {
    }

    // copy: a complete file under a temporary name.
    void Keep(const QString &copy)
    {
        if (QFileInfo::exists(m_previous) || QFileInfo(m_previous).isSymLink()) {
            if (!isFile(m_previous))
                throw VbError(75, kSource, QStringLiteral("'%1' is no file: the kept copies cannot move on.").arg(m_previous));
            m_previousAside = FileSystemObject().TemporaryName(m_previous);
            Prejmenuj(m_previous, m_previousAside);
        }
        if (isFile(m_kept)) {
            Prejmenuj(m_kept, m_previous);
            m_movedOn = true;
        }
        Prejmenuj(copy, m_kept);
        m_placed = true;
    }

    void Undo() noexcept
    {
        const auto back = [](const QString &from, const QString &to) {
            std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData());
        };
        if (m_placed)
            QFile::remove(m_kept);
        if (m_movedOn)
            back(m_previous, m_kept);
        if (!m_previousAside.isEmpty())
            back(m_previousAside, m_previous);
        m_placed = m_movedOn = false;
        m_previousAside.clear();
    }

    void Done() noexcept
    {
        if (!m_previousAside.isEmpty())
            QFile::remove(m_previousAside);
        m_placed = m_movedOn = false;
        m_previousAside.clear();
    }

    const QString &Kept() const { return m_kept; }

private:
    QString m_kept, m_previous, m_previousAside;
    bool m_movedOn = false, m_placed = false;
};

// The closed catalog's last committed state under a temporary name beside it.
QString copyOf(const QString &catalog, const QString &name)
{
    const QString copy = VolnyNazev(QFileInfo(catalog).absolutePath(), name);
    dao::CopyDatabase(catalog, copy);
    return copy;
}

// Whether the catalog holds the data of the backup already. The column layouts (S_Grid)
// do not count: the windows write them on their own as they close, and they close before
// every restore. A catalog that cannot be read is no match.
bool holdsAlready(const QString &catalog, const QString &backup)
{
    try {
        return dao::SameContent(catalog, backup, {QStringLiteral("S_Grid")});
    } catch (const VbError &) {
        return false;
    }
}

}  // namespace

QString SouborZalohyOpravy(const QString &catalog)
{
    return sibling(catalog, QStringLiteral("QIRData.zal"));
}

QString SouborPredchoziZalohy(const QString &catalog)
{
    return sibling(catalog, QStringLiteral("QIRData.zdb"));
}

QString VolnyNazev(const QString &folder, const QString &base)
{
    return FileSystemObject().TemporaryName(QDir(folder).filePath(base));
}

void Prejmenuj(const QString &from, const QString &to)
{
    if (std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) != 0) {
        const int code = errno;
        throw VbError(code == ENOENT ? 53 : code == EACCES || code == EPERM ? 70 : 75, QStringLiteral("FileSystemObject"),
                      QStringLiteral("'%1' -> '%2': %3").arg(from, to, QString::fromLocal8Bit(std::strerror(code))));
    }
    dao::SyncFile(to);
}

void ZalohujKatalog(const dao::Database &db, const QString &folder)
{
    if (!QDir().mkpath(folder))
        throw VbError(76, kSource, QStringLiteral("'%1': the folder cannot be made.").arg(folder));
    const QString backup = QDir(folder).filePath(QStringLiteral("QIRData.mdb"));
    const QString previous = QDir(folder).filePath(QStringLiteral("QIRData.zal"));
    const QString fresh = VolnyNazev(folder, QStringLiteral("QIRData.mdb"));
    dao::CopyDatabase(db.Name(), fresh);
    try {
        // The last backup keeps a second name before the new one takes its own, so that
        // the backup name is never without a complete file. A damaged file is no backup
        // to keep: the one kept before it stays.
        if (QFileInfo::exists(backup) && isDatabase(backup)) {
            QFile::remove(previous);
            if (::link(QFile::encodeName(backup).constData(), QFile::encodeName(previous).constData()) != 0) {
                try {
                    FileSystemObject().CopyFile(backup, previous, true);
                } catch (const VbError &e) {
                    throw VbError(75, kSource, QStringLiteral("'%1': the last backup cannot be kept. %2").arg(previous, e.Description()));
                }
            }
        }
        Prejmenuj(fresh, backup);
    } catch (const VbError &) {
        QFile::remove(fresh);
        throw;
    }
}

void OverKatalog(const QString &file, int programMajor, int programMinor)
{
    const QString notACatalog = PrelozText(QStringLiteral("476,Soubor není katalogem programu:")) + QLatin1Char(' ') + file;
    dao::Workspace ws;
    std::unique_ptr<dao::Database> db;
    try {
        db = ws.OpenDatabase(file, false, true);
    } catch (const VbError &e) {
        throw VbError(e.Number(), e.Source(), notACatalog + QLatin1Char('\n') + e.Description());
    }
    for (const QString &table : SeznamTabulek()) {
        try {
            db->TableDefs()[table];
        } catch (const VbError &e) {
            throw VbError(e.Number(), kSource, notACatalog + QStringLiteral(" (") + table + QLatin1Char(')'));
        }
    }
    QString verze;
    try {
        auto param = db->OpenRecordset(QStringLiteral("select Verze from S_Param"));
        if (!param->Eof())
            verze = param->Fields(0).Value().toString();
    } catch (const VbError &) {
    }
    if (PorovnejVerze(verze.isEmpty() ? QStringLiteral("0.0.0") : verze, programMajor, programMinor) != VersionRule::Same)
        throw VbError(dao::err::General, kSource,
                      PrelozText(QStringLiteral("477,Verze dat v záloze neodpovídá verzi programu:")) + QLatin1Char(' ')
                          + (verze.isEmpty() ? QStringLiteral("?") : verze));
}

QString PripravObnovu(const QString &backup, const QString &catalog, int programMajor, int programMinor)
{
    const QString prepared = VolnyNazev(QFileInfo(catalog).absolutePath(), QStringLiteral("QIRData.mdb"));
    dao::CopyDatabase(backup, prepared);
    try {
        OverKatalog(prepared, programMajor, programMinor);
    } catch (const VbError &) {
        QFile::remove(prepared);
        throw;
    }
    return prepared;
}

void VymenKatalog(dao::Workspace &ws, std::unique_ptr<dao::Database> &db, const QString &prepared)
{
    const QString catalog = db->Name();
    // Another workstation's write would refuse the restore only once the catalog in use is
    // closed, and might keep it from opening again: it is refused now, with the catalog open.
    db->Execute(QStringLiteral("BEGIN IMMEDIATE"));
    db->Execute(QStringLiteral("ROLLBACK"));
    db.reset();
    KeptCopies copies(catalog);
    QString copy;
    bool written = false;
    try {
        // A restore of what the catalog holds already has nothing new to keep: the copies
        // stay as they are, however many restores follow one another.
        if (!holdsAlready(catalog, prepared)) {
            copy = copyOf(catalog, QStringLiteral("QIRData.zal"));
            copies.Keep(copy);
            // Written into the file the catalog is, wherever a link leads to it: every
            // workstation of a shared catalog goes on in the restored one.
            dao::OverwriteDatabase(prepared, catalog);
            written = true;
        }
        db = ws.OpenDatabase(catalog);
        copies.Done();
        QFile::remove(prepared);
    } catch (const VbError &) {
        db.reset();
        // The catalog as it was, and with it the copies; where it cannot be put back, its
        // data stay in the copy that was kept.
        bool asItWas = !written;
        if (written) {
            try {
                dao::OverwriteDatabase(copies.Kept(), catalog);
                asItWas = true;
            } catch (const VbError &) {
            }
        }
        if (asItWas)
            copies.Undo();
        else
            copies.Done();
        if (!copy.isEmpty())
            QFile::remove(copy);
        QFile::remove(prepared);
        try {
            db = ws.OpenDatabase(catalog);
        } catch (const VbError &) {
        }
        throw;
    }
}

void UschovejKatalog(const QString &catalog)
{
    const QString copy = copyOf(catalog, QStringLiteral("QIRData.zal"));
    KeptCopies copies(catalog);
    try {
        copies.Keep(copy);
        copies.Done();
    } catch (const VbError &) {
        copies.Undo();
        QFile::remove(copy);
        throw;
    }
}

void SmazDocasneKopie(const QString &appPath)
{
    const FileSystemObject files;
    for (const char *folder : {"", "zaloha/", "Internet/"})
        for (const char *name : {"QIRData.mdb", "QIRData.zal", "QIRData.zdb"})
            files.DeleteTemporaries(appPath + QLatin1String(folder) + QLatin1String(name));
}
