#include "fso.h"

#include "vberror.h"

#include <QCryptographicHash>
#include <QFile>
#include <QRandomGenerator>
#include <QSysInfo>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace {

const QString Source = QStringLiteral("FileSystemObject");

// The runtime's numbers for failures that vberror.h does not name.
constexpr int DeviceIoError = 57;
constexpr int DiskFull = 61;
constexpr int PathFileAccessError = 75;

bool isSeparator(QChar c)
{
    return c == QLatin1Char('/') || c == QLatin1Char('\\');
}

// The program's paths were written with backslashes.
QString normalized(const QString &path)
{
    QString p = path;
    p.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return p;
}

// Through the local 8-bit file name encoding, as every other Qt file call does, so
// that names with Czech or Chinese letters reach the same file.
fs::path toPath(const QString &path)
{
    return fs::path(QFile::encodeName(normalized(path)).toStdString());
}

QString fromPath(const fs::path &path)
{
    return QFile::decodeName(QByteArray::fromStdString(path.native()));
}

QString title(int number)
{
    switch (number) {
    case vberr::FileNotFound: return QStringLiteral("File not found");
    case vberr::FileAlreadyExists: return QStringLiteral("File already exists");
    case DeviceIoError: return QStringLiteral("Device I/O error");
    case DiskFull: return QStringLiteral("Disk full");
    case vberr::PermissionDenied: return QStringLiteral("Permission denied");
    case PathFileAccessError: return QStringLiteral("Path/File access error");
    case vberr::PathNotFound: return QStringLiteral("Path not found");
    default: return QStringLiteral("Error");
    }
}

[[noreturn]] void fail(int number, const QString &name, const QString &reason)
{
    throw VbError(number, Source, QStringLiteral("%1: '%2' (%3)").arg(title(number), name, reason));
}

[[noreturn]] void fail(int number, const QString &name, std::errc reason)
{
    fail(number, name, QString::fromStdString(std::make_error_code(reason).message()));
}

bool parentExists(const fs::path &p)
{
    const fs::path parent = p.parent_path();
    std::error_code ec;
    return parent.empty() || fs::is_directory(parent, ec);
}

[[noreturn]] void failOs(const std::error_code &ec, const QString &name, const fs::path &p)
{
    const QString reason = QString::fromStdString(ec.message());
    if (ec == std::errc::no_such_file_or_directory)
        fail(parentExists(p) ? vberr::FileNotFound : vberr::PathNotFound, name, reason);
    if (ec == std::errc::not_a_directory)
        fail(vberr::PathNotFound, name, reason);
    if (ec == std::errc::file_exists)
        fail(vberr::FileAlreadyExists, name, reason);
    if (ec == std::errc::permission_denied || ec == std::errc::operation_not_permitted
        || ec == std::errc::read_only_file_system || ec == std::errc::text_file_busy
        || ec == std::errc::is_a_directory || ec == std::errc::directory_not_empty)
        fail(vberr::PermissionDenied, name, reason);
    if (ec == std::errc::no_space_on_device || ec == std::errc::file_too_large)
        fail(DiskFull, name, reason);
    if (ec == std::errc::io_error)
        fail(DeviceIoError, name, reason);
    fail(PathFileAccessError, name, reason);
}

fs::file_status statusOf(const fs::path &p)
{
    std::error_code ec;
    return fs::status(p, ec);
}

// Not found, told apart from a missing folder on the way as the runtime did.
[[noreturn]] void failMissing(const QString &name, const fs::path &p)
{
    fail(parentExists(p) ? vberr::FileNotFound : vberr::PathNotFound, name,
         std::errc::no_such_file_or_directory);
}

// Our own test rather than the system's: root may write anywhere, the program's
// read-only rules must hold for it all the same.
bool isReadOnly(const fs::file_status &st)
{
    return (st.permissions() & fs::perms::owner_write) == fs::perms::none;
}

fs::path folderOf(const fs::path &p)
{
    return p.has_parent_path() ? p.parent_path() : fs::path(".");
}

// A trailing separator names the folder to put the file in.
fs::path destinationPath(const QString &destination, const fs::path &source)
{
    fs::path dst = toPath(destination);
    if (!destination.isEmpty() && isSeparator(destination.back()))
        dst /= source.filename();
    return dst;
}

void requireFolderOf(const fs::path &dst, const QString &name)
{
    if (!fs::is_directory(statusOf(folderOf(dst))))
        fail(vberr::PathNotFound, name, std::errc::no_such_file_or_directory);
}

// This computer, in the names of files being written: eight hexadecimal digits of its
// machine identity (its host name where it has none).
const std::string &computerMark()
{
    static const std::string mark = [] {
        QByteArray id = QSysInfo::machineUniqueId();
        if (id.isEmpty())
            id = QSysInfo::machineHostName().toUtf8();
        return QCryptographicHash::hash(id, QCryptographicHash::Sha1).toHex().left(8).toStdString();
    }();
    return mark;
}

std::string temporaryPrefix(const fs::path &dst)
{
    return ".~" + dst.filename().native() + '.' + computerMark() + '.';
}

fs::path temporaryPath(const fs::path &dst)
{
    char random[9];
    std::snprintf(random, sizeof random, "%08x", unsigned(QRandomGenerator::global()->generate()));
    return folderOf(dst) / (temporaryPrefix(dst) + random + ".tmp");
}

// A destination that is a symbolic link: the file it names, links of links followed.
fs::path throughLinks(fs::path dst)
{
    std::error_code ec;
    for (int depth = 0; depth < 40 && fs::is_symlink(fs::symlink_status(dst, ec)); ++depth) {
        const fs::path target = fs::read_symlink(dst, ec);
        if (ec)
            break;
        dst = target.is_absolute() ? target : folderOf(dst) / target;
    }
    return dst;
}

// Written under a temporary name in the destination folder and renamed over the
// destination, which replaces it in one step: a copy that fails on the way leaves
// the old destination as it was and no partial file.
void copyViaTemporary(const fs::path &src, const fs::path &dst, const QString &name)
{
    std::error_code ec;
    fs::path tmp;
    for (int attempt = 0; attempt < 16; ++attempt) {
        tmp = temporaryPath(dst);
        ec.clear();
        fs::copy_file(src, tmp, fs::copy_options::none, ec);
        if (ec != std::errc::file_exists)
            break;
    }
    if (ec) {
        if (ec != std::errc::file_exists) {
            std::error_code ignored;
            fs::remove(tmp, ignored);
        }
        failOs(ec, name, dst);
    }
    // The old copy kept the date of the source, and the program shows file dates.
    std::error_code ignored;
    fs::last_write_time(tmp, fs::last_write_time(src, ignored), ignored);
    fs::rename(tmp, dst, ec);
    if (ec) {
        fs::remove(tmp, ignored);
        failOs(ec, name, dst);
    }
}

bool wildcardMatch(const QList<uint> &pattern, const QList<uint> &name)
{
    const auto same = [](uint a, uint b) {
        return a == b || QChar::toCaseFolded(char32_t(a)) == QChar::toCaseFolded(char32_t(b));
    };
    qsizetype p = 0, n = 0, starP = -1, starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == '*') {
            starP = p++;
            starN = n;
        } else if (p < pattern.size() && (pattern[p] == '?' || same(pattern[p], name[n]))) {
            ++p;
            ++n;
        } else if (starP >= 0) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*')
        ++p;
    return p == pattern.size();
}

QString withoutTrailingSeparators(const QString &path)
{
    QString p = normalized(path);
    while (p.size() > 1 && p.endsWith(QLatin1Char('/')))
        p.chop(1);
    return p;
}

} // namespace

QString FileSystemObject::TemporaryName(const QString &destination) const
{
    const fs::path dst = toPath(destination);
    fs::path tmp;
    std::error_code ec;
    do
        tmp = temporaryPath(dst);
    while (fs::exists(fs::symlink_status(tmp, ec)));
    return fromPath(tmp);
}

void FileSystemObject::DeleteTemporaries(const QString &destination) const
{
    const fs::path dst = toPath(destination);
    const std::string prefix = temporaryPrefix(dst);
    const auto isHex = [](char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'); };
    std::error_code ec;
    for (auto it = fs::directory_iterator(folderOf(dst), ec); !ec && it != fs::directory_iterator(); it.increment(ec)) {
        std::string name = it->path().filename().native();
        std::error_code entryEc;
        if (name.compare(0, prefix.size(), prefix) != 0 || !fs::is_regular_file(it->symlink_status(entryEc)))
            continue;
        name.erase(0, prefix.size());
        if (name.size() > 12 && name.compare(12, std::string::npos, "-journal") == 0)
            name.resize(12);
        if (name.size() == 12 && std::all_of(name.begin(), name.begin() + 8, isHex) && name.compare(8, 4, ".tmp") == 0)
            fs::remove(it->path(), entryEc);
    }
}

bool FileSystemObject::FileExists(const QString &path) const
{
    return !path.isEmpty() && fs::is_regular_file(statusOf(toPath(path)));
}

bool FileSystemObject::FolderExists(const QString &path) const
{
    return !path.isEmpty() && fs::is_directory(statusOf(toPath(path)));
}

void FileSystemObject::CopyFile(const QString &source, const QString &destination,
                                bool overwrite) const
{
    const fs::path src = toPath(source);
    const fs::file_status srcSt = statusOf(src);
    if (!fs::exists(srcSt) || fs::is_directory(srcSt))
        failMissing(source, src);

    const fs::path dst = throughLinks(destinationPath(destination, src));
    requireFolderOf(dst, destination);
    const fs::file_status dstSt = statusOf(dst);
    if (fs::exists(dstSt)) {
        if (fs::is_directory(dstSt))
            fail(vberr::PermissionDenied, destination, std::errc::is_a_directory);
        if (!overwrite)
            fail(vberr::FileAlreadyExists, destination, std::errc::file_exists);
        std::error_code ec;
        if (fs::equivalent(src, dst, ec))
            fail(vberr::PermissionDenied, destination,
                 QStringLiteral("source and destination are the same file"));
        if (isReadOnly(dstSt))
            fail(vberr::PermissionDenied, destination, QStringLiteral("the file is read-only"));
    }
    copyViaTemporary(src, dst, destination);
}

void FileSystemObject::MoveFile(const QString &source, const QString &destination) const
{
    const fs::path src = toPath(source);
    const fs::file_status srcSt = statusOf(src);
    if (!fs::exists(srcSt))
        failMissing(source, src);

    const fs::path dst = destinationPath(destination, src);
    requireFolderOf(dst, destination);
    std::error_code ec;
    if (fs::exists(fs::symlink_status(dst, ec)))
        fail(vberr::FileAlreadyExists, destination, std::errc::file_exists);

    fs::rename(src, dst, ec);
    if (ec == std::errc::cross_device_link && fs::is_regular_file(srcSt)) {
        copyViaTemporary(src, dst, destination);
        fs::remove(src, ec);
    }
    if (ec)
        failOs(ec, source, src);
}

void FileSystemObject::DeleteFile(const QString &path, bool force) const
{
    const fs::path p = toPath(path);
    const fs::file_status st = statusOf(p);
    if (!fs::exists(st) || fs::is_directory(st))
        failMissing(path, p);
    if (!force && isReadOnly(st))
        fail(vberr::PermissionDenied, path, QStringLiteral("the file is read-only"));
    std::error_code ec;
    fs::remove(p, ec);
    if (ec)
        failOs(ec, path, p);
}

void FileSystemObject::CreateFolder(const QString &path) const
{
    const fs::path p = toPath(withoutTrailingSeparators(path));
    std::error_code ec;
    if (fs::exists(fs::symlink_status(p, ec)))
        fail(vberr::FileAlreadyExists, path, std::errc::file_exists);
    if (!parentExists(p))
        fail(vberr::PathNotFound, path, std::errc::no_such_file_or_directory);
    fs::create_directory(p, ec);
    if (ec)
        failOs(ec, path, p);
}

void FileSystemObject::DeleteFolder(const QString &path, bool force) const
{
    const fs::path p = toPath(withoutTrailingSeparators(path));
    if (!fs::is_directory(statusOf(p)))
        fail(vberr::PathNotFound, path, std::errc::no_such_file_or_directory);
    std::error_code ec;
    if (!force) {
        // Checked before anything goes, so a refusal leaves the folder whole.
        for (auto it = fs::recursive_directory_iterator(p, ec);
             !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
            const fs::file_status st = it->symlink_status(ec);
            if (!ec && fs::is_regular_file(st) && isReadOnly(st))
                fail(vberr::PermissionDenied, fromPath(it->path()),
                     QStringLiteral("the file is read-only"));
        }
        if (ec)
            failOs(ec, path, p);
    }
    fs::remove_all(p, ec);
    if (ec)
        failOs(ec, path, p);
}

qint64 FileSystemObject::FileSize(const QString &path) const
{
    const fs::path p = toPath(path);
    const fs::file_status st = statusOf(p);
    std::error_code ec;
    if (fs::is_regular_file(st)) {
        const auto size = fs::file_size(p, ec);
        if (ec)
            failOs(ec, path, p);
        return qint64(size);
    }
    if (!fs::is_directory(st))
        failMissing(path, p);
    qint64 total = 0;
    for (auto it = fs::recursive_directory_iterator(p, ec);
         !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
        std::error_code entryEc;
        if (it->is_regular_file(entryEc))
            total += qint64(it->file_size(entryEc));
    }
    if (ec)
        failOs(ec, path, p);
    return total;
}

int FileSystemObject::GetAttributes(const QString &path) const
{
    const fs::path p = toPath(withoutTrailingSeparators(path));
    const fs::file_status st = statusOf(p);
    if (!fs::exists(st))
        failMissing(path, p);
    int attributes = Normal;
    if (fs::is_directory(st))
        attributes |= Directory;
    if (isReadOnly(st))
        attributes |= ReadOnly;
    const QString name = GetFileName(path);
    if (name.startsWith(QLatin1Char('.')) && name != QLatin1String(".")
        && name != QLatin1String(".."))
        attributes |= Hidden;
    return attributes;
}

void FileSystemObject::SetAttributes(const QString &path, int attributes) const
{
    const fs::path p = toPath(withoutTrailingSeparators(path));
    if (!fs::exists(statusOf(p)))
        failMissing(path, p);
    std::error_code ec;
    if (attributes & ReadOnly) {
        fs::permissions(p, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                        fs::perm_options::remove, ec);
    } else {
        fs::permissions(p, fs::perms::owner_write, fs::perm_options::add, ec);
    }
    if (ec)
        failOs(ec, path, p);
}

QString FileSystemObject::GetFileName(const QString &path) const
{
    const QString p = withoutTrailingSeparators(path);
    if (p == QLatin1String("/"))
        return {};
    return p.mid(p.lastIndexOf(QLatin1Char('/')) + 1);
}

QString FileSystemObject::GetParentFolderName(const QString &path) const
{
    const QString p = withoutTrailingSeparators(path);
    const qsizetype slash = p.lastIndexOf(QLatin1Char('/'));
    if (slash < 0 || p == QLatin1String("/"))
        return {};
    QString parent = withoutTrailingSeparators(p.left(slash));
    return parent.isEmpty() ? QStringLiteral("/") : parent;
}

QString FileSystemObject::BuildPath(const QString &path, const QString &name) const
{
    if (path.isEmpty())
        return normalized(name);
    QString head = withoutTrailingSeparators(path);
    QString tail = normalized(name);
    while (tail.startsWith(QLatin1Char('/')))
        tail.remove(0, 1);
    if (head == QLatin1String("/"))
        return head + tail;
    return head + QLatin1Char('/') + tail;
}

QStringList FileSystemObject::Files(const QString &folder, const QString &pattern) const
{
    const fs::path p = toPath(folder);
    if (!fs::is_directory(statusOf(p)))
        fail(vberr::PathNotFound, folder, std::errc::no_such_file_or_directory);
    // "*.*" is the old way of saying every file, including those without a dot.
    const QString effective = (pattern.isEmpty() || pattern == QLatin1String("*.*"))
                                  ? QStringLiteral("*")
                                  : pattern;
    const QList<uint> wanted = effective.toUcs4();

    QStringList names;
    std::error_code ec;
    for (auto it = fs::directory_iterator(p, ec); !ec && it != fs::directory_iterator();
         it.increment(ec)) {
        std::error_code entryEc;
        if (!it->is_regular_file(entryEc))
            continue;
        const QString name = fromPath(it->path().filename());
        if (wildcardMatch(wanted, name.toUcs4()))
            names.append(name);
    }
    if (ec)
        failOs(ec, folder, p);
    std::sort(names.begin(), names.end(), [](const QString &a, const QString &b) {
        return a.compare(b, Qt::CaseInsensitive) < 0;
    });
    return names;
}
