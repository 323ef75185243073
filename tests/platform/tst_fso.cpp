#include "fso.h"
#include "vberror.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <optional>
#include <sys/resource.h>

namespace {

void writeFile(const QString &path, const QByteArray &content)
{
    QFile f(path);
    QVERIFY2(f.open(QIODevice::WriteOnly | QIODevice::Truncate), qPrintable(path));
    f.write(content);
}

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

// Runs the call and gives the error number it raised, 0 if it raised none, and -1
// (with the reason logged) if the error does not say where it came from and which
// file it was about.
template<typename F>
int errorOf(F &&call, const QString &mentioned)
{
    try {
        call();
    } catch (const VbError &e) {
        if (e.Source() != QLatin1String("FileSystemObject")) {
            qWarning("wrong source: %s", qPrintable(e.Source()));
            return -1;
        }
        if (!e.Description().contains(mentioned)) {
            qWarning("the description does not name %s: %s", qPrintable(mentioned),
                     qPrintable(e.Description()));
            return -1;
        }
        return e.Number();
    }
    return 0;
}

} // namespace

class TstFso : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        m_dir.emplace();
        QVERIFY(m_dir->isValid());
    }

    void copyOverwrites()
    {
        const QString src = path("src.txt"), dst = path("dst.txt");
        writeFile(src, "new content");
        writeFile(dst, "old");
        fso.CopyFile(src, dst);
        QCOMPARE(readFile(dst), QByteArray("new content"));
        QCOMPARE(readFile(src), QByteArray("new content"));
        QCOMPARE(fso.FileSize(dst), qint64(11));
        noStrayFiles({"dst.txt", "src.txt"});
    }

    void copyIntoFolderBySeparator()
    {
        writeFile(path("a.txt"), "a");
        fso.CreateFolder(path("sub"));
        fso.CopyFile(path("a.txt"), path("sub") + QLatin1Char('/'));
        QCOMPARE(readFile(path("sub/a.txt")), QByteArray("a"));
        // The program's own paths use backslashes.
        fso.CopyFile(path("a.txt"), path("sub") + QStringLiteral("\\b.txt"));
        QCOMPARE(readFile(path("sub/b.txt")), QByteArray("a"));
    }

    void copyKeepsDateAndReadOnly()
    {
        const QString src = path("src.txt");
        writeFile(src, "x");
        const QDateTime old = QDateTime::currentDateTime().addDays(-30);
        {
            QFile f(src);
            QVERIFY(f.open(QIODevice::ReadWrite));
            QVERIFY(f.setFileTime(old, QFileDevice::FileModificationTime));
        }
        fso.SetAttributes(src, FileSystemObject::ReadOnly);
        fso.CopyFile(src, path("dst.txt"));
        QCOMPARE(QFileInfo(path("dst.txt")).lastModified().toSecsSinceEpoch(), old.toSecsSinceEpoch());
        QCOMPARE(fso.GetAttributes(path("dst.txt")) & FileSystemObject::ReadOnly,
                 int(FileSystemObject::ReadOnly));
    }

    void copyErrors_data()
    {
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("destination");
        QTest::addColumn<bool>("overwrite");
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("mentioned");
        QTest::newRow("exists, no overwrite") << "src.txt" << "existing.txt" << false << 58 << "existing.txt";
        QTest::newRow("read-only target") << "src.txt" << "readonly.txt" << true << 70 << "readonly.txt";
        QTest::newRow("onto a folder") << "src.txt" << "folder" << true << 70 << "folder";
        QTest::newRow("missing source") << "nothing.txt" << "new.txt" << true << 53 << "nothing.txt";
        QTest::newRow("source is a folder") << "folder" << "new.txt" << true << 53 << "folder";
        QTest::newRow("source folder missing") << "nofolder/src.txt" << "new.txt" << true << 76 << "nofolder";
        QTest::newRow("destination folder missing") << "src.txt" << "nofolder/new.txt" << true << 76 << "nofolder";
        QTest::newRow("into missing folder") << "src.txt" << "nofolder/" << true << 76 << "nofolder";
        QTest::newRow("onto itself") << "src.txt" << "src.txt" << true << 70 << "src.txt";
        QTest::newRow("onto itself, no overwrite") << "src.txt" << "src.txt" << false << 58 << "src.txt";
    }

    void copyErrors()
    {
        QFETCH(QString, source);
        QFETCH(QString, destination);
        QFETCH(bool, overwrite);
        QFETCH(int, number);
        QFETCH(QString, mentioned);
        writeFile(path("src.txt"), "source");
        writeFile(path("existing.txt"), "existing");
        writeFile(path("readonly.txt"), "readonly");
        fso.SetAttributes(path("readonly.txt"), FileSystemObject::ReadOnly);
        QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("folder")));

        QCOMPARE(errorOf([&] { fso.CopyFile(path(source), path(destination), overwrite); },
                         mentioned),
                 number);
        QCOMPARE(readFile(path("src.txt")), QByteArray("source"));
        QCOMPARE(readFile(path("existing.txt")), QByteArray("existing"));
        QCOMPARE(readFile(path("readonly.txt")), QByteArray("readonly"));
        noStrayFiles({"existing.txt", "folder", "readonly.txt", "src.txt"});
    }

    // A copy that fails part-way (here: the file size limit stops the writing after
    // the first 64 KiB) leaves the destination as it was and nothing beside it.
    void failedCopyLeavesDestinationAlone()
    {
        writeFile(path("big.bin"), QByteArray(1 << 20, 'b'));
        writeFile(path("dst.bin"), "precious");

        std::signal(SIGXFSZ, SIG_IGN);
        rlimit old{};
        QCOMPARE(getrlimit(RLIMIT_FSIZE, &old), 0);
        rlimit small = old;
        small.rlim_cur = 64 * 1024;
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
        const auto number = errorOf([&] { fso.CopyFile(path("big.bin"), path("dst.bin")); },
                                    path("dst.bin"));
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &old), 0);
        std::signal(SIGXFSZ, SIG_DFL);

        QVERIFY(number > 0);
        QCOMPARE(readFile(path("dst.bin")), QByteArray("precious"));
        noStrayFiles({"big.bin", "dst.bin"});
    }

    // A copy onto a symbolic link (an existing file, a file yet to be made, a link of a
    // link) writes the file the link names; every link stays a link.
    void copyThroughALink_data()
    {
        QTest::addColumn<bool>("targetExists");
        QTest::addColumn<bool>("twoLinks");
        QTest::newRow("existing file") << true << false;
        QTest::newRow("file yet to be made") << false << false;
        QTest::newRow("link of a link") << true << true;
    }
    void copyThroughALink()
    {
        QFETCH(bool, targetExists);
        QFETCH(bool, twoLinks);
        QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("shared")));
        writeFile(path("new.txt"), "new");
        if (targetExists)
            writeFile(path("shared/file.txt"), "old");
        QVERIFY(QFile::link(QStringLiteral("shared/file.txt"), path(twoLinks ? "middle.txt" : "link.txt")));
        if (twoLinks)
            QVERIFY(QFile::link(path("middle.txt"), path("link.txt")));
        fso.CopyFile(path("new.txt"), path("link.txt"));
        QVERIFY(QFileInfo(path("link.txt")).isSymLink());
        QCOMPARE(readFile(path("shared/file.txt")), QByteArray("new"));
        QCOMPARE(QDir(path("shared")).entryList(QDir::Files | QDir::Hidden), QStringList{"file.txt"});
    }

    // Temporary names are this computer's own, and only they go: never a file of a
    // similar name, another computer's, a folder or a link.
    void temporaries()
    {
        const QString destination = path("QIRData.mdb");
        const QString mine = fso.TemporaryName(destination);
        QCOMPARE(QFileInfo(mine).absolutePath(), m_dir->path());
        QVERIFY2(QRegularExpression(QStringLiteral("^\\.~QIRData\\.mdb\\.[0-9a-f]{8}\\.[0-9a-f]{8}\\.tmp$"))
                     .match(QFileInfo(mine).fileName()).hasMatch(),
                 qPrintable(mine));
        QVERIFY(fso.TemporaryName(destination) != mine);
        QStringList parts = QFileInfo(mine).fileName().split(QLatin1Char('.'));
        parts[3] = parts[3] == QLatin1String("00000000") ? QStringLiteral("11111111") : QStringLiteral("00000000");
        const QString others = parts.join(QLatin1Char('.'));
        const QString mineToo = fso.TemporaryName(destination);
        for (const QString &name : {mine, mine + QStringLiteral("-journal"), mineToo})
            writeFile(name, "stale");
        const QStringList kept{QStringLiteral("QIRData.mdb"), QStringLiteral("QIRData.mdb.bak"), QStringLiteral(".~QIRData.mdb.tmp"),
                               others, QFileInfo(mine).fileName() + QStringLiteral(".old"),
                               QFileInfo(fso.TemporaryName(path("QIRData.zal"))).fileName()};
        for (const QString &name : kept)
            writeFile(path(name), "kept");
        const QString folder = fso.TemporaryName(destination);
        QVERIFY(QDir().mkdir(folder));
        const QString link = fso.TemporaryName(destination);
        QVERIFY(QFile::link(path("QIRData.mdb.bak"), link));
        fso.DeleteTemporaries(destination);
        QStringList left = kept;
        left << QFileInfo(folder).fileName() << QFileInfo(link).fileName();
        left.sort();
        noStrayFiles(left);
        QCOMPARE(readFile(path("QIRData.mdb.bak")), QByteArray("kept"));
    }

    void readOnlyAttribute()
    {
        const QString f = path("file.txt");
        writeFile(f, "x");
        QCOMPARE(fso.GetAttributes(f), int(FileSystemObject::Normal));
        // Other bits than ReadOnly are ignored.
        fso.SetAttributes(f, FileSystemObject::ReadOnly | FileSystemObject::Hidden
                                 | FileSystemObject::System | FileSystemObject::Archive);
        QCOMPARE(fso.GetAttributes(f), int(FileSystemObject::ReadOnly));
        QVERIFY(!(QFile::permissions(f) & QFileDevice::WriteOwner));

        QCOMPARE(errorOf([&] { fso.DeleteFile(f); }, f), 70);
        QVERIFY(fso.FileExists(f));

        fso.SetAttributes(f, FileSystemObject::Normal);
        QCOMPARE(fso.GetAttributes(f), int(FileSystemObject::Normal));
        QVERIFY(QFile::permissions(f) & QFileDevice::WriteOwner);
        fso.CopyFile(path("file.txt"), path("copy.txt"));
        writeFile(path("new.txt"), "new");
        fso.CopyFile(path("new.txt"), f);
        QCOMPARE(readFile(f), QByteArray("new"));
    }

    void attributesOfFoldersAndHidden()
    {
        fso.CreateFolder(path("sub"));
        QCOMPARE(fso.GetAttributes(path("sub")), int(FileSystemObject::Directory));
        QCOMPARE(fso.GetAttributes(path("sub/")), int(FileSystemObject::Directory));
        writeFile(path(".hidden"), "");
        QCOMPARE(fso.GetAttributes(path(".hidden")), int(FileSystemObject::Hidden));
        QCOMPARE(errorOf([&] { fso.GetAttributes(path("none")); }, path("none")), 53);
        QCOMPARE(errorOf([&] { fso.SetAttributes(path("none"), 0); }, path("none")), 53);
    }

    void move()
    {
        writeFile(path("a.txt"), "a");
        fso.CreateFolder(path("sub"));
        fso.MoveFile(path("a.txt"), path("sub/b.txt"));
        QVERIFY(!fso.FileExists(path("a.txt")));
        QCOMPARE(readFile(path("sub/b.txt")), QByteArray("a"));

        writeFile(path("c.txt"), "c");
        QCOMPARE(errorOf([&] { fso.MoveFile(path("c.txt"), path("sub/b.txt")); }, path("sub/b.txt")), 58);
        QCOMPARE(readFile(path("sub/b.txt")), QByteArray("a"));
        QCOMPARE(errorOf([&] { fso.MoveFile(path("none.txt"), path("x.txt")); }, path("none.txt")), 53);
        QCOMPARE(errorOf([&] { fso.MoveFile(path("c.txt"), path("nofolder/c.txt")); }, "nofolder"), 76);
        QVERIFY(fso.FileExists(path("c.txt")));
    }

    void deleteFile()
    {
        writeFile(path("a.txt"), "a");
        fso.DeleteFile(path("a.txt"));
        QVERIFY(!fso.FileExists(path("a.txt")));
        QCOMPARE(errorOf([&] { fso.DeleteFile(path("a.txt")); }, path("a.txt")), 53);
        QCOMPARE(errorOf([&] { fso.DeleteFile(path("no/a.txt")); }, path("no/a.txt")), 76);

        writeFile(path("ro.txt"), "r");
        fso.SetAttributes(path("ro.txt"), FileSystemObject::ReadOnly);
        fso.DeleteFile(path("ro.txt"), true);
        QVERIFY(!fso.FileExists(path("ro.txt")));
    }

    void folders()
    {
        const QString top = path("top");
        fso.CreateFolder(top);
        QVERIFY(fso.FolderExists(top));
        QVERIFY(!fso.FileExists(top));
        QCOMPARE(errorOf([&] { fso.CreateFolder(top); }, top), 58);
        QCOMPARE(errorOf([&] { fso.CreateFolder(path("no/deeper")); }, path("no/deeper")), 76);

        fso.CreateFolder(top + QStringLiteral("/inner"));
        writeFile(top + QStringLiteral("/inner/a.bin"), QByteArray(100, 'a'));
        writeFile(top + QStringLiteral("/b.bin"), QByteArray(23, 'b'));
        QCOMPARE(fso.FileSize(top), qint64(123));

        fso.SetAttributes(top + QStringLiteral("/inner/a.bin"), FileSystemObject::ReadOnly);
        QCOMPARE(errorOf([&] { fso.DeleteFolder(top); }, "a.bin"), 70);
        QVERIFY(fso.FileExists(top + QStringLiteral("/b.bin")));   // refused as a whole
        fso.DeleteFolder(top, true);
        QVERIFY(!fso.FolderExists(top));
        QCOMPARE(errorOf([&] { fso.DeleteFolder(top); }, top), 76);
    }

    void sizeOfMissing()
    {
        QCOMPARE(errorOf([&] { fso.FileSize(path("none")); }, path("none")), 53);
        writeFile(path("empty"), "");
        QCOMPARE(fso.FileSize(path("empty")), qint64(0));
    }

    void unicodeNames_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("czech") << QStringLiteral("Příliš žluťoučký kůň.jpg");
        QTest::newRow("chinese") << QStringLiteral("中文目录.txt");
    }

    void unicodeNames()
    {
        QFETCH(QString, name);
        const QString folder = path(name + QStringLiteral(" složka"));
        fso.CreateFolder(folder);
        writeFile(path(name), "obsah");
        const QString copy = fso.BuildPath(folder, name);
        fso.CopyFile(path(name), copy);
        QVERIFY(fso.FileExists(copy));
        QVERIFY(QFile::exists(copy));   // the same file Qt sees under that name
        QCOMPARE(fso.Files(folder, QStringLiteral("*")), QStringList{name});
        QCOMPARE(fso.GetFileName(copy), name);
        fso.MoveFile(copy, copy + QStringLiteral(".bak"));
        QCOMPARE(fso.FileSize(copy + QStringLiteral(".bak")), qint64(5));
        fso.DeleteFolder(folder);
        QVERIFY(!fso.FolderExists(folder));
    }

    void wildcards_data()
    {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("jpg any case") << "*.jpg" << QStringList{"A.JPG", "b.jpg", "Č.Jpg"};
        QTest::newRow("upper pattern") << "*.JPG" << QStringList{"A.JPG", "b.jpg", "Č.Jpg"};
        QTest::newRow("czech letter") << "č*" << QStringList{"Č.Jpg"};
        QTest::newRow("question mark") << "?.jpg" << QStringList{"A.JPG", "b.jpg", "Č.Jpg"};
        QTest::newRow("star dot star") << "*.*" << QStringList{"A.JPG", "b.jpg", "jpg", "x.jpeg", "Č.Jpg"};
        QTest::newRow("star") << "*" << QStringList{"A.JPG", "b.jpg", "jpg", "x.jpeg", "Č.Jpg"};
        QTest::newRow("star in middle") << "*.jp*g" << QStringList{"A.JPG", "b.jpg", "x.jpeg", "Č.Jpg"};
        QTest::newRow("exact") << "B.JPG" << QStringList{"b.jpg"};
        QTest::newRow("none") << "*.png" << QStringList{};
    }

    void wildcards()
    {
        QFETCH(QString, pattern);
        QFETCH(QStringList, expected);
        for (const char *name : {"A.JPG", "b.jpg", "x.jpeg", "jpg"})
            writeFile(path(name), "");
        writeFile(path("Č.Jpg"), "");
        QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("folder.jpg")));   // folders are not files
        QCOMPARE(fso.Files(m_dir->path(), pattern), expected);
    }

    void filesOfMissingFolder()
    {
        QCOMPARE(errorOf([&] { fso.Files(path("none"), "*"); }, path("none")), 76);
    }

    void pathStrings_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QString>("parent");
        QTest::newRow("file") << "/a/b/c.txt" << "c.txt" << "/a/b";
        QTest::newRow("trailing slash") << "/a/b/" << "b" << "/a";
        QTest::newRow("backslashes") << "C:\\Data\\x.mdb" << "x.mdb" << "C:/Data";
        QTest::newRow("top level") << "/a" << "a" << "/";
        QTest::newRow("root") << "/" << "" << "";
        QTest::newRow("bare name") << "name" << "name" << "";
        QTest::newRow("relative") << "img/p.jpg" << "p.jpg" << "img";
    }

    void pathStrings()
    {
        QFETCH(QString, path);
        QFETCH(QString, fileName);
        QFETCH(QString, parent);
        QCOMPARE(fso.GetFileName(path), fileName);
        QCOMPARE(fso.GetParentFolderName(path), parent);
    }

    void buildPath_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("expected");
        QTest::newRow("plain") << "/a" << "b.txt" << "/a/b.txt";
        QTest::newRow("folder slash") << "/a/" << "b.txt" << "/a/b.txt";
        QTest::newRow("both slashes") << "/a/" << "/b.txt" << "/a/b.txt";
        QTest::newRow("backslash") << "C:\\a\\" << "b" << "C:/a/b";
        QTest::newRow("root") << "/" << "b" << "/b";
        QTest::newRow("no folder") << "" << "b" << "b";
    }

    void buildPath()
    {
        QFETCH(QString, folder);
        QFETCH(QString, name);
        QFETCH(QString, expected);
        QCOMPARE(fso.BuildPath(folder, name), expected);
    }

private:
    QString path(const QString &name) const { return m_dir->filePath(name); }
    QString path(const char *name) const { return path(QString::fromUtf8(name)); }

    void noStrayFiles(const QStringList &expected)
    {
        QCOMPARE(QDir(m_dir->path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                                               QDir::Name),
                 expected);
    }

    FileSystemObject fso;
    std::optional<QTemporaryDir> m_dir;
};

QTEST_GUILESS_MAIN(TstFso)
#include "tst_fso.moc"
