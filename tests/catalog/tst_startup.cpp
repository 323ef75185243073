// The program's start, run in this process on a fresh program folder: what ends it,
// what it leaves behind, and which windows it opens.
#include "data/infosettings.h"
#include "mainwindow/frmMain.h"
#include "mainwindow/frmPrehled.h"
#include "records/frmNahled.h"
#include "records/frmVyber.h"
#include "startup/SystemTest.h"
#include "common/globals.h"
#include "startup/startup.h"
#include "common/translation.h"
#include "system.h"
#include "testsupport.h"

#include <QLabel>
#include <QLockFile>
#include <QTimer>
#include <QtTest>

Q_DECLARE_METATYPE(VersionRule)

class TestStartup : public QObject
{
    Q_OBJECT

    std::unique_ptr<testsupport::ProgramFolder> m_folder;

    QString program() const { return m_folder->file(QStringLiteral("Oskal")); }
    QString catalog() const { return m_folder->file(QStringLiteral("QIRData.mdb")); }

    // Runs a statement on the folder's catalog, made from the fresh one when missing.
    void onCatalog(const QStringList &statements)
    {
        if (!QFile::exists(catalog()))
            QVERIFY(QFile::copy(m_folder->file(QStringLiteral("QIRData.upg")), catalog()));
        QFile::setPermissions(catalog(), QFile::permissions(catalog()) | QFile::WriteOwner);
        dao::Workspace ws;
        auto db = ws.OpenDatabase(catalog());
        for (const QString &sql : statements)
            db->Execute(sql);
    }

    // The control library beside the program, as the built program folder has it.
    void withControlLibrary()
    {
        QVERIFY(QFile::copy(testsupport::builtProgramFolder() + QStringLiteral("/libTabulix.so"),
                            m_folder->file(QStringLiteral("libTabulix.so"))));
    }

    // A catalog with one section, so that the start asks nothing.
    void withSection() { onCatalog({QStringLiteral("insert into Sekce (Sekce, Nazev) values (1, 'Knihy')")}); }

    static void writeLanguages(const QString &path, const QList<QStringList> &rows,
                               const QString &columns = QStringLiteral("id Long, zaklad LongText, us LongText, chi LongText"))
    {
        QFile::remove(path);
        dao::Workspace ws;
        auto db = ws.CreateDatabase(path);
        db->Execute(QStringLiteral("create table Jazyky (%1)").arg(columns));
        for (const QStringList &row : rows) {
            QStringList values;
            for (const QString &v : row)
                values << (v == QLatin1String("NULL") ? v : QLatin1Char('\'') + v + QLatin1Char('\''));
            db->Execute(QStringLiteral("insert into Jazyky values (%1)").arg(values.join(QLatin1Char(','))));
        }
    }

    static QStringList openViews()
    {
        QStringList names;
        for (const char *name : {"frmPrehled", "frmVyber", "frmNahled"})
            if (frmMain::Loaded() && frmMain::Loaded()->findChild<QWidget *>(QLatin1String(name)))
                names << QLatin1String(name);
        return names;
    }

private Q_SLOTS:
    void init()
    {
        m_folder = std::make_unique<testsupport::ProgramFolder>();
        QVERIFY(m_folder->isValid());
        for (const char *key : {"Lang", "Sekce", "VyberWindowShow", "NahledWindowShow"})
            SmazInfo(QLatin1String(key));
        sys::resetBeepCount();
    }

    void cleanup()
    {
        sys::setKeyStateHook({});
        NastavSelhaniSondy(false);
        frmMain::Unload();
        Db.reset();
        Ws.reset();
        UvolniInstanci();
        Preklady.reset();
        m_folder.reset();
    }

    void versionRule_data()
    {
        QTest::addColumn<QString>("data");
        QTest::addColumn<VersionRule>("rule");
        QTest::newRow("same") << "3.0.4" << VersionRule::Same;
        QTest::newRow("revision ignored") << "3.0.9" << VersionRule::Same;
        QTest::newRow("older revision") << "3.0.1" << VersionRule::Same;
        QTest::newRow("newer minor") << "3.1.0" << VersionRule::Convert;
        QTest::newRow("newer major") << "4.0.0" << VersionRule::Convert;
        QTest::newRow("major 2") << "2.9.9" << VersionRule::Incompatible;
        QTest::newRow("unreadable counts as 0.0.0") << "0.0.0" << VersionRule::Incompatible;
        QTest::newRow("major 2 without minor") << "2.9" << VersionRule::Incompatible;
        QTest::newRow("no dot") << "3" << VersionRule::Unreadable;
        QTest::newRow("equal major, no minor to cut") << "3.0" << VersionRule::Unreadable;
    }
    void versionRule()
    {
        QFETCH(QString, data);
        QFETCH(VersionRule, rule);
        QCOMPARE(PorovnejVerze(data, 3, 0), rule);
    }

    // The data's version decides, through the whole start, whether the program runs.
    void versionAtStart_data()
    {
        QTest::addColumn<QString>("verze");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("title");
        QTest::newRow("revision") << "'3.0.9'" << QString() << QString();
        QTest::newRow("minor: converted") << "'3.1.0'" << QString() << QString();
        QTest::newRow("major 4: converted") << "'4.0.0'" << QString() << QString();
        QTest::newRow("2.9.9") << "'2.9.9'" << "Data nejsou kompatibilní s touto verzí programu. Aplikaci nelze spustit."
                               << "Spuštění programu Oskal verze 3.0.4";
        QTest::newRow("empty") << "''" << "Data nejsou kompatibilní s touto verzí programu. Aplikaci nelze spustit."
                               << "Spuštění programu Oskal verze 3.0.4";
        QTest::newRow("null") << "null" << "Data nejsou kompatibilní s touto verzí programu. Aplikaci nelze spustit."
                              << "Spuštění programu Oskal verze 3.0.4";
        QTest::newRow("no S_Param row") << "delete" << "Data nejsou kompatibilní s touto verzí programu. Aplikaci nelze spustit."
                                        << "Spuštění programu Oskal verze 3.0.4";
        QTest::newRow("no dot") << "'3'" << "Verzi dat nelze přečíst: 3\nProgram bude ukončen."
                                << "Spuštění programu Oskal verze 3.0.4";
    }
    void versionAtStart()
    {
        QFETCH(QString, verze);
        QFETCH(QString, message);
        QFETCH(QString, title);
        withSection();
        onCatalog({verze == QLatin1String("delete") ? QStringLiteral("delete from S_Param")
                                                     : QStringLiteral("update S_Param set Verze=") + verze});
        QFile::remove(m_folder->file(QStringLiteral("Lang.mdb")));  // the Czech texts, whatever the table holds
        testsupport::ScriptedBoxes boxes;
        if (!message.isEmpty())
            boxes.expect(vbOK);
        const auto end = Main(program(), {});
        if (message.isEmpty()) {
            QVERIFY(!end);
            QVERIFY(frmMain::Loaded() && frmMain::Loaded()->isVisible());
            // A revision is used as it is; another minor or major number is converted.
            const QString kept = verze == QLatin1String("'3.0.9'") ? QStringLiteral("3.0.9") : QStringLiteral("3.0.4");
            QCOMPARE(Db->OpenRecordset(QStringLiteral("select Verze from S_Param"))->Fields(0).Value().toString(), kept);
            return;
        }
        QCOMPARE(end, std::optional<int>(1));
        QCOMPARE(boxes.shown().size(), size_t(1));
        QCOMPARE(boxes.shown()[0].text, message);
        QCOMPARE(boxes.shown()[0].title, title);
        QCOMPARE(boxes.shown()[0].style, int(vbCritical));
        QVERIFY(!frmMain::Loaded());
    }

    // The language setting picks the column; message n is the n-th row, whatever its id.
    void language_data()
    {
        QTest::addColumn<QString>("setting");
        QTest::addColumn<QString>("jazyk");
        QTest::addColumn<QString>("first");
        QTest::newRow("none") << QString() << "1" << "jedna";
        QTest::newRow("0 is Czech") << "0" << "1" << "jedna";
        QTest::newRow("English") << " 2 " << "2" << "one";
        QTest::newRow("Chinese") << "3" << "3" << "一";
        QTest::newRow("any other number") << "7" << "7" << "一";
    }
    void language()
    {
        QFETCH(QString, setting);
        QFETCH(QString, jazyk);
        QFETCH(QString, first);
        if (!setting.isNull())
            UlozInfo(QStringLiteral("Lang"), setting);
        writeLanguages(m_folder->file(QStringLiteral("Lang.mdb")),
                       {{"1", "jedna", "one", "一"},
                        {"1", "znovu", "again", "再"},
                        {"2", "dvě", "two", "NULL"},
                        {"4", "čtyři", "four", "四"}});
        withSection();
        const auto end = Main(program(), {});
        QVERIFY(!end);
        QCOMPARE(Jazyk, jazyk);
        QCOMPARE(Preklady->count(), 3);  // the repeated id is left out
        QCOMPARE(PrelozText(QStringLiteral("1,výchozí")), first);
        // The Chinese column is Null in row 2: the English text stands in.
        QCOMPARE(PrelozText(QStringLiteral("2,výchozí")), jazyk == QLatin1String("1") ? QStringLiteral("dvě") : QStringLiteral("two"));
        // Row 3 is the row of id 4; there is no fourth row.
        const QString third = jazyk == QLatin1String("1") ? QStringLiteral("čtyři")
                              : jazyk == QLatin1String("2") ? QStringLiteral("four") : QStringLiteral("四");
        QCOMPARE(PrelozText(QStringLiteral("3,výchozí")), third);
        QCOMPARE(PrelozText(QStringLiteral("4,výchozí")), QStringLiteral("výchozí"));
    }

    // A language file that cannot be read leaves the Czech texts; the start goes on.
    void brokenLanguageFile_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("columns");
        QTest::newRow("not a database") << QByteArray("this is no database, just some words\n").repeated(200) << QString();
        QTest::newRow("empty file") << QByteArray("") << QString();
        QTest::newRow("no chi column") << QByteArray() << "id Long, zaklad LongText, us LongText";
    }
    void brokenLanguageFile()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, columns);
        UlozInfo(QStringLiteral("Lang"), QStringLiteral("3"));
        const QString path = m_folder->file(QStringLiteral("Lang.mdb"));
        if (columns.isEmpty()) {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
            f.write(content);
        } else {
            writeLanguages(path, {{"1", "a", "b"}}, columns);
        }
        withSection();
        QVERIFY(!Main(program(), {}));
        QCOMPARE(Preklady->count(), 0);
        QCOMPARE(frmMain::Loaded()->windowTitle(), QStringLiteral("Oskal"));
    }

    void freshCatalogCopied()
    {
        QVERIFY(!QFile::exists(catalog()));
        testsupport::ScriptedBoxes boxes;
        boxes.expect(vbOK);  // the fresh catalog has no section yet
        QVERIFY(!Main(program(), {}));
        QVERIFY(QFile::exists(catalog()));
        QCOMPARE(VerzeDat, QStringLiteral("3.0.4"));
        QCOMPARE(VerzeProgramu, QStringLiteral("3.0.4"));
        QCOMPARE(Uzivatel, QStringLiteral("PC1"));
        QCOMPARE(NazevStanice, QStringLiteral("PC1"));
    }

    void noCatalogAtAll()
    {
        QFile::remove(m_folder->file(QStringLiteral("QIRData.upg")));
        QFile::remove(m_folder->file(QStringLiteral("Lang.mdb")));
        testsupport::ScriptedBoxes boxes;
        boxes.expect(vbOK);
        QCOMPARE(Main(program(), {}), std::optional<int>(1));
        QCOMPARE(boxes.shown()[0].text, QStringLiteral("Datový soubor QIRData.mdb nebyl nalezen. Aplikace bude ukončena."));
        QCOMPARE(boxes.shown()[0].title, QStringLiteral("Spuštění aplikace Oskal"));
        QCOMPARE(boxes.shown()[0].style, int(vbExclamation));
        QVERIFY(!QFile::exists(catalog()));
    }

    void readOnlyCatalogMadeWritable()
    {
        withSection();
        QFile::setPermissions(catalog(), QFileDevice::ReadOwner | QFileDevice::ReadGroup);
        QVERIFY(!Main(program(), {}));
        QVERIFY(QFile::permissions(catalog()) & QFileDevice::WriteOwner);
    }

    // A file that is no catalog is reported with the engine's words and left untouched.
    void unusableCatalog_data()
    {
        QTest::addColumn<bool>("notADatabase");
        QTest::newRow("not a database") << true;
        QTest::newRow("no S_Param") << false;
    }
    void unusableCatalog()
    {
        QFETCH(bool, notADatabase);
        if (notADatabase) {
            QFile f(catalog());
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(QByteArray("Not a catalog, only a text file that happens to have its name.\n").repeated(100));
        } else {
            onCatalog({QStringLiteral("drop table S_Param")});
        }
        QFile::remove(m_folder->file(QStringLiteral("Lang.mdb")));
        const QByteArray before = [&] { QFile f(catalog()); f.open(QIODevice::ReadOnly); return f.readAll(); }();
        testsupport::ScriptedBoxes boxes;
        boxes.expect(vbOK);
        QCOMPARE(Main(program(), {}), std::optional<int>(1));
        const QStringList lines = boxes.shown()[0].text.split(QLatin1Char('\n'));
        QCOMPARE(lines.size(), 2);
        QCOMPARE(lines[0], QStringLiteral("Chyba při otevírání dat. Aplikaci nelze spustit."));
        QVERIFY2(lines[1].contains(notADatabase ? QStringLiteral("not a database") : QStringLiteral("s_param"), Qt::CaseInsensitive),
                 qPrintable(lines[1]));
        QCOMPARE(boxes.shown()[0].title, QStringLiteral("Spuštění aplikace Oskal"));
        QCOMPARE(boxes.shown()[0].style, int(vbCritical));
        Db.reset();
        Ws.reset();
        QFile f(catalog());
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), before);
    }

    void secondInstance_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<bool>("refused");
        QTest::newRow("no argument") << QStringList() << true;
        QTest::newRow("other argument") << QStringList{"x"} << true;
        QTest::newRow("restart") << QStringList{"R"} << false;
        QTest::newRow("restart, lower case") << QStringList{"r"} << false;
    }
    void secondInstance()
    {
        QFETCH(QStringList, arguments);
        QFETCH(bool, refused);
        QFile::remove(m_folder->file(QStringLiteral("Lang.mdb")));
        withSection();
        QLockFile first(ZamekInstance(program()));
        QVERIFY(first.tryLock(0));
        testsupport::ScriptedBoxes boxes;
        if (refused)
            boxes.expect(vbOK);
        const auto end = Main(program(), arguments);
        QCOMPARE(Restart, !refused);
        if (!refused) {
            QVERIFY(!end);
            return;
        }
        QCOMPARE(end, std::optional<int>(1));
        QCOMPARE(sys::beepCount(), 1);
        QCOMPARE(boxes.shown()[0].text, QStringLiteral("Program již je spuštěn."));
        QCOMPARE(boxes.shown()[0].title, QStringLiteral("Oskal"));
        QCOMPARE(boxes.shown()[0].style, int(vbExclamation));
        QVERIFY(QFile::exists(catalog()));
    }

    // Another copy of the program, in another folder, is another program.
    void instancesPerProgramFolder()
    {
        testsupport::ProgramFolder other;
        QLockFile elsewhere(ZamekInstance(other.file(QStringLiteral("Oskal"))));
        QVERIFY(elsewhere.tryLock(0));
        withSection();
        QVERIFY(!Main(program(), {}));
    }

    // Ctrl held: the repair is offered first, then the registration of the older controls.
    void ctrlHeld_data()
    {
        QTest::addColumn<int>("repair");
        QTest::addColumn<int>("answer");
        QTest::newRow("repair, register") << int(vbYes) << int(vbYes);
        QTest::newRow("repair, do not register") << int(vbYes) << int(vbNo);
        QTest::newRow("no repair, do not register") << int(vbNo) << int(vbNo);
    }
    void ctrlHeld()
    {
        QFETCH(int, repair);
        QFETCH(int, answer);
        QFile::remove(m_folder->file(QStringLiteral("Lang.mdb")));
        withSection();
        onCatalog({QStringLiteral("create table tmpPrehled (x Integer)")});
        withControlLibrary();  // the older table editor is registered as the control library
        sys::setKeyStateHook([](sys::Key k) -> std::optional<bool> { return k == sys::Key::Control; });
        testsupport::ScriptedBoxes boxes;
        boxes.expect(repair);
        if (repair == vbYes)
            boxes.expect(vbOK);
        boxes.expect(answer);
        QVERIFY(!Main(program(), {}));
        QCOMPARE(boxes.shown()[0].text, QStringLiteral("Opravit systémovou databázi?"));
        if (repair == vbYes)
            QCOMPARE(boxes.shown()[1].text, QStringLiteral("Oprava systémové databáze proběhla v pořádku!"));
        const msgbox::Shown &question = boxes.shown().back();
        QCOMPARE(question.text, QStringLiteral("Registrovat systémové soubory?"));
        QCOMPARE(question.title, QStringLiteral("Registrace komponent aplikace"));
        QCOMPARE(question.style, int(vbYesNo));
        // The start goes on on the repaired catalog.
        Db->TableDefs().Refresh();
        bool scratch = true;
        try {
            Db->TableDefs()[QStringLiteral("tmpPrehled")];
        } catch (const VbError &) {
            scratch = false;
        }
        QCOMPARE(scratch, repair != vbYes);
        QVERIFY(frmMain::Loaded());
    }

    // Control files that cannot be created after the restart: nothing more to try.
    void probeFailsAfterRestart()
    {
        QFile::remove(m_folder->file(QStringLiteral("Lang.mdb")));
        withSection();
        NastavSelhaniSondy(true);
        testsupport::ScriptedBoxes boxes;
        boxes.expect(vbOK);
        QCOMPARE(Main(program(), {QStringLiteral("r")}), std::optional<int>(1));
        QCOMPARE(boxes.shown().size(), size_t(1));
        QCOMPARE(boxes.shown()[0].text, QStringLiteral("Registrace komponent neproběhla úspěšně. Aplikaci nelze spustit."));
        QCOMPARE(boxes.shown()[0].title, QStringLiteral("Registrace komponent aplikace"));
        QCOMPARE(boxes.shown()[0].style, int(vbCritical));
        QVERIFY(!frmMain::Loaded());
        QVERIFY(!Db);
    }

    // On a first start the controls are registered and the program starts anew with "R",
    // after letting go of its instance lock, so that the new one may run.
    void probeFailsOnFirstStart()
    {
        QFile::remove(m_folder->file(QStringLiteral("Lang.mdb")));
        withSection();
        withControlLibrary();
        const QString marker = m_folder->file(QStringLiteral("restarted.txt"));
        {
            QFile script(program());
            QVERIFY(script.open(QIODevice::WriteOnly));
            script.write("#!/bin/sh\necho \"$@\" > \"$(dirname \"$0\")/restarted.txt\"\n");
        }
        QVERIFY(QFile::setPermissions(program(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        NastavSelhaniSondy(true);
        testsupport::ScriptedBoxes boxes;  // no box
        QCOMPARE(Main(program(), {}), std::optional<int>(0));
        QVERIFY(!frmMain::Loaded());
        QVERIFY(!Db);
        QLockFile lock(ZamekInstance(program()));
        QVERIFY(lock.tryLock(0));
        QTRY_VERIFY(QFile::exists(marker) && QFileInfo(marker).size() > 0);
        QFile out(marker);
        QVERIFY(out.open(QIODevice::ReadOnly));
        QCOMPARE(out.readAll(), QByteArray("R\n"));
    }

    // Where the new instance cannot be started, the user is told so instead of the program
    // silently vanishing.
    void restartImpossible()
    {
        QFile::remove(m_folder->file(QStringLiteral("Lang.mdb")));
        withSection();
        withControlLibrary();
        QVERIFY(!QFile::exists(program()));
        NastavSelhaniSondy(true);
        testsupport::ScriptedBoxes boxes;
        boxes.expect(vbOK);
        QCOMPARE(Main(program(), {}), std::optional<int>(1));
        QCOMPARE(boxes.shown()[0].text, QStringLiteral("Aplikaci se nepodařilo znovu spustit. Spusťte ji prosím znovu sami."));
        QCOMPARE(boxes.shown()[0].title, QStringLiteral("Registrace komponent aplikace"));
        QCOMPARE(boxes.shown()[0].style, int(vbCritical));
    }

    // A working probe measures the window frame on the way.
    void probeMeasuresTheFrame()
    {
        withSection();
        KorekceVysky = -1;
        QVERIFY(!Main(program(), {}));
        QCOMPARE(int(KorekceVysky), NejmensiVyskaOkna() - 405);
    }

    void imageFolder_data()
    {
        QTest::addColumn<bool>("folderThere");
        QTest::newRow("missing: made and filled") << false;
        QTest::newRow("there: left alone") << true;
    }
    void imageFolder()
    {
        QFETCH(bool, folderThere);
        const QString img = m_folder->file(QStringLiteral("img"));
        if (!folderThere)
            QVERIFY(QDir(img).removeRecursively());
        for (const char *name : {"logo.jpg", "TITUL.JPG", "notes.txt"}) {
            QFile f(m_folder->file(QLatin1String(name)));
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("picture");
        }
        withSection();
        QVERIFY(!Main(program(), {}));
        QVERIFY(QDir(img).exists());
        QStringList expected;
        if (!folderThere)
            expected = QStringList{"TITUL.JPG", "logo.jpg"};
        QCOMPARE(QDir(img).entryList(QDir::Files, QDir::Name), expected);
    }

    // The views open when a section is current, each by its setting.
    void viewsBySettings_data()
    {
        QTest::addColumn<QString>("vyber");
        QTest::addColumn<QString>("nahled");
        QTest::addColumn<QStringList>("views");
        QTest::newRow("defaults") << QString() << QString() << QStringList{"frmPrehled", "frmVyber", "frmNahled"};
        QTest::newRow("no selection window") << "false" << "true" << QStringList{"frmPrehled", "frmNahled"};
        QTest::newRow("neither") << "False" << "False" << QStringList{"frmPrehled"};
        QTest::newRow("a setting that is no Boolean") << "maybe" << "True" << QStringList{"frmPrehled", "frmNahled"};
    }
    void viewsBySettings()
    {
        QFETCH(QString, vyber);
        QFETCH(QString, nahled);
        QFETCH(QStringList, views);
        onCatalog({QStringLiteral("insert into Sekce (Sekce, Nazev) values (2, 'Známky')")});
        if (!vyber.isNull())
            UlozInfo(QStringLiteral("VyberWindowShow"), vyber);
        if (!nahled.isNull())
            UlozInfo(QStringLiteral("NahledWindowShow"), nahled);
        QVERIFY(!Main(program(), {}));
        QCOMPARE(frmMain::Form().lblSekce->property("Tag").toString(), QStringLiteral("2"));
        QCOMPARE(frmMain::Form().lblSekce->text(), QStringLiteral("ZNÁMKY"));
        QCOMPARE(openViews(), views);
        QVERIFY(PrehledOtevren());
        QCOMPARE(VyberOtevren(), views.contains(QStringLiteral("frmVyber")));
    }

    // With no section the user is told so, and only the main window opens.
    void noSection()
    {
        QFile::remove(m_folder->file(QStringLiteral("Lang.mdb")));
        testsupport::ScriptedBoxes boxes;
        boxes.expect(vbOK);
        QVERIFY(!Main(program(), {}));
        QCOMPARE(boxes.shown()[0].text,
                 QStringLiteral("Není navedena žádná sekce. Naveďte novou sekci a proveďte nastavení katalogu."));
        QCOMPARE(frmMain::Form().lblSekce->property("Tag").toString(), QStringLiteral("0"));
        QCOMPARE(openViews(), QStringList());
        QVERIFY(!PrehledOtevren());
    }

    void startSection_data()
    {
        QTest::addColumn<QString>("setting");
        QTest::addColumn<QString>("tag");
        QTest::newRow("first by name") << QString() << "5";
        QTest::newRow("remembered") << "2" << "2";
        QTest::newRow("deleted since") << "9" << "5";
        QTest::newRow("not a number: as if gone") << "2 or 1=1" << "5";
    }
    void startSection()
    {
        QFETCH(QString, setting);
        QFETCH(QString, tag);
        onCatalog({QStringLiteral("insert into Sekce (Sekce, Nazev) values (2, 'Zbraně')"),
                   QStringLiteral("insert into Sekce (Sekce, Nazev) values (5, 'Auta')")});
        if (!setting.isNull())
            UlozInfo(QStringLiteral("Sekce"), setting);
        QVERIFY(!Main(program(), {}));
        QCOMPARE(frmMain::Form().lblSekce->property("Tag").toString(), tag);
        QCOMPARE(PrehledOtevren(), !tag.isEmpty());
    }

    // A catalog whose section table is damaged still gives the main window.
    void damagedSectionTable()
    {
        onCatalog({QStringLiteral("drop table Sekce")});
        QFile::remove(m_folder->file(QStringLiteral("Lang.mdb")));
        QVERIFY(!Main(program(), {}));
        QVERIFY(frmMain::Loaded() && frmMain::Loaded()->isVisible());
        QVERIFY(!PrehledOtevren());
    }

    // Closing the main window while start-up loads the overview ends the program: nothing
    // more opens, and no invisible window keeps it alive.
    void closedDuringTheStart()
    {
        withSection();
        onCatalog({QStringLiteral("insert into Definice (Poradi, Pol, Zobraz, Typ, Sekce) values (1, 'Pol1', 1, 'C', 1)"),
                   QStringLiteral("insert into Katalog (Inter, Pol1c, Sekce) values (1, 'Kniha', 1)")});
        QTimer closer;
        closer.setInterval(0);
        connect(&closer, &QTimer::timeout, this, [&closer] {
            if (PrehledOtevren() && frmMain::Loaded()) {
                closer.stop();
                frmMain::Loaded()->close();
            }
        });
        closer.start();
        QCOMPARE(Main(program(), {}), std::optional<int>(0));
        QVERIFY(!frmMain::Loaded() || !frmMain::Loaded()->isVisible());  // closed; deleted by the event loop
        QVERIFY(!frmPrehled::Loaded());
        QVERIFY(!frmVyber::Loaded());
        QVERIFY(!PrehledOtevren());
        QCOMPARE(NactiInfo(QStringLiteral("Sekce")), QStringLiteral("1"));
    }
};

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
