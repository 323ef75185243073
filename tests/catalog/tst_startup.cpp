// The program's start, run in this process on a fresh program folder: what ends it,
// what it leaves behind, and which windows it opens.
#include "data/archive.h"
#include "data/infosettings.h"
#include "mainwindow/frmLogo.h"
#include "mainwindow/frmMain.h"
#include "menudriver.h"
#include "overview/frmPrehled.h"
#include "records/frmNahled.h"
#include "records/frmVyber.h"
#include "setup/frmSekce.h"
#include "startup/SystemTest.h"
#include "startup/frmLogin.h"
#include "startup/workstation.h"
#include "common/globals.h"
#include "common/programicon.h"
#include "startup/startup.h"
#include "common/translation.h"
#include "system.h"
#include "VarnexEditUni.h"
#include "grid.h"
#include "modaldriver.h"
#include "testsupport.h"
#include "overviewgrid.h"
#include "typing.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QLockFile>
#include <QMdiSubWindow>
#include <QStyle>
#include <QMenu>
#include <QTableView>
#include <QPushButton>
#include <QScopeGuard>
#include <QTimer>
#include <QtTest>

Q_DECLARE_METATYPE(VersionRule)

namespace {

const QString kNamePrompt = QStringLiteral(
    "input|Nastavení prostředí|První spušťení síťové stanice.\\nZadejte unikátní název stanice (max.30 znaků)"
    "\\n\\nBez nastavení názvu stanice program nebude pracovat!");
const QString kNoName =
    QStringLiteral("48|Nastavení prostředí|Nebylo nastaveno systémové jméno stanice. Program nebude pracovat!");
const QString kWrongPassword = QStringLiteral("0|Login|Špatně zadané heslo.");
const QString kNameTooLong = QStringLiteral("48|Nastavení prostředí|Název stanice může mít nejvýše 30 znaků.");

QString nameSet(const QString &name)
{
    return QStringLiteral("64|Nastavení prostředí|Stanice  ") + name + QStringLiteral("  byla nastavena.");
}

QString settingsFile()
{
    return qEnvironmentVariable("XDG_CONFIG_HOME") + QStringLiteral("/Oskal/Oskal.ini");
}

}  // namespace

class TestStartup : public QObject
{
    Q_OBJECT

    std::unique_ptr<testsupport::ProgramFolder> m_folder;
    // A start on a catalog without sections opens the sections window; unless a test
    // drives it, it is closed as it shows, as a user who makes no section does.
    std::unique_ptr<QTimer> m_sectionsCloser;
    bool m_drivesSections = false;

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

    // The control library beside the program, as the built program folder has it. A link,
    // not a copy: the program registers the library it runs on already, and so does this
    // test; a copy would load a second library beside the one the test runs on.
    void withControlLibrary()
    {
        QVERIFY(QFile::link(testsupport::builtProgramFolder() + QStringLiteral("/libTabulix.so"),
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

    // Plays the steps in the login window once it shows, as a user types and clicks them:
    // "user TEXT" over the whole user name, "password TEXT" (typed over what the window
    // selected after a wrong try), "ok", "enter", "cancel", "escape". Every password typed
    // goes into `typed`. A window the steps leave open (without steps: any that shows) fails
    // the test and is cancelled. The watch ends with `scope`.
    static void whenLoginShows(QObject *scope, const QStringList &steps, bool *shown, QStringList *typed)
    {
        auto *poll = new QTimer(scope);
        poll->setInterval(5);
        connect(poll, &QTimer::timeout, scope, [poll, steps, shown, typed] {
            auto *login = qobject_cast<frmLogin *>(QApplication::activeModalWidget());
            if (!login || !login->isVisible())
                return;
            poll->stop();
            poll->deleteLater();
            *shown = true;
            const auto closeLeftOver = qScopeGuard([login] {
                if (!login->isVisible())
                    return;
                if (!QTest::currentTestFailed())
                    QTest::qFail("the login window was left open", __FILE__, __LINE__);
                login->reject();
            });
            QVERIFY2(!steps.isEmpty(), "a login window where none belongs");
            QVERIFY(QTest::qWaitForWindowActive(login));
            QCOMPARE(login->windowTitle(), QStringLiteral("Login"));
            for (const QString &step : steps) {
                QVERIFY2(login->isVisible(), qPrintable(QStringLiteral("closed before ") + step));
                const QString word = step.section(QLatin1Char(' '), 0, 0);
                const QString text = step.mid(word.size() + 1);
                if (word == QLatin1String("user")) {
                    QTest::mouseClick(login->txtUserName, Qt::LeftButton);
                    QTest::keyClick(login->txtUserName, Qt::Key_A, Qt::ControlModifier);
                    if (text.isEmpty())
                        QTest::keyClick(login->txtUserName, Qt::Key_Delete);
                    testsupport::typeKeys(login->txtUserName, text);
                } else if (word == QLatin1String("password")) {
                    if (!login->txtPassword->hasFocus())
                        QTest::mouseClick(login->txtPassword, Qt::LeftButton);
                    testsupport::typeKeys(login->txtPassword, text);
                    *typed << text;
                    // What the box shows gives nothing of what was typed.
                    QCOMPARE(login->txtPassword->displayText(), QString(login->txtPassword->text().size(), QLatin1Char('*')));
                } else if (word == QLatin1String("ok")) {
                    QTest::mouseClick(login->cmdOK, Qt::LeftButton);
                } else if (word == QLatin1String("enter")) {
                    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
                } else if (word == QLatin1String("cancel")) {
                    QTest::mouseClick(login->cmdStorno, Qt::LeftButton);
                } else if (word == QLatin1String("escape")) {
                    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
                } else {
                    QFAIL(qPrintable(QStringLiteral("no such step: ") + step));
                }
            }
        });
        poll->start();
    }

    static void answerBoxes(testsupport::ScriptedBoxes &boxes, const QStringList &answers)
    {
        for (const QString &answer : answers) {
            if (answer.startsWith(QLatin1String("input "))) {
                const QString typed = answer.mid(6);
                boxes.expectInput(typed.isNull() ? QStringLiteral("") : typed);  // typed, even when empty
            }
            else
                boxes.expect(answer == QLatin1String("cancel") ? vbCancel : vbOK);
        }
    }

    static QStringList logOf(const testsupport::ScriptedBoxes &boxes)
    {
        QStringList lines;
        for (const msgbox::Shown &box : boxes.shown())
            lines << msgbox::logLine(box);
        return lines;
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
        for (const char *key : {"Lang", "Sekce", "VyberWindowShow", "NahledWindowShow", "Stanice", "SitovaStanice", "ProgramZeSite"})
            SmazInfo(QLatin1String(key));
        sys::resetBeepCount();
        m_drivesSections = false;
        m_sectionsCloser = std::make_unique<QTimer>();
        m_sectionsCloser->setInterval(10);
        connect(m_sectionsCloser.get(), &QTimer::timeout, this, [this] {
            if (frmSekce *w = frmSekce::Loaded(); w && w->isVisible() && !m_drivesSections)
                w->cmdEnd->click();
        });
        m_sectionsCloser->start();
    }

    void cleanup()
    {
        m_sectionsCloser.reset();
        delete frmSekce::Loaded();
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

    // QIRData.mdb a symbolic link into a shared folder that has no catalog yet: the fresh
    // one goes where the link points and the link stays; where the shared folder is not
    // there at all, the start ends with the reason and the link is left as it is.
    void freshCatalogThroughALink_data()
    {
        QTest::addColumn<bool>("folderThere");
        QTest::newRow("shared folder without a catalog") << true;
        QTest::newRow("shared folder missing") << false;
    }
    void freshCatalogThroughALink()
    {
        QFETCH(bool, folderThere);
        QTemporaryDir shared;
        const QString target = shared.filePath(folderThere ? QStringLiteral("QIRData.mdb") : QStringLiteral("pryc/QIRData.mdb"));
        QVERIFY(QFile::link(target, catalog()));
        testsupport::ScriptedBoxes boxes;
        boxes.expect(vbOK);  // no section yet, or the copy that cannot be made
        const auto end = Main(program(), {});
        QVERIFY(QFileInfo(catalog()).isSymLink());
        QCOMPARE(QFileInfo(catalog()).symLinkTarget(), target);
        if (folderThere) {
            QVERIFY(!end);
            QVERIFY(QFileInfo(target).isFile());
            QCOMPARE(QDir(shared.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"QIRData.mdb"});
        } else {
            QCOMPARE(end, std::optional<int>(1));
            QVERIFY2(boxes.shown()[0].text.startsWith(QStringLiteral("Čistý datový soubor QIRData.upg se nepodařilo zkopírovat")),
                     qPrintable(boxes.shown()[0].text));
            QVERIFY(!QFileInfo::exists(target));
        }
    }

    // The copies that a backup, restore or repair cut short was writing under temporary
    // names go at the next start; files of similar names that are not such copies of
    // this computer's stay.
    void staleCopiesRemoved()
    {
        withSection();
        const QString zaloha = m_folder->file(QStringLiteral("zaloha"));
        const QString internet = m_folder->file(QStringLiteral("Internet"));
        QVERIFY(QDir().mkpath(zaloha) && QDir().mkpath(internet));
        const auto write = [](const QString &path) {
            QFile f(path);
            QVERIFY2(f.open(QIODevice::WriteOnly), qPrintable(path));
            f.write(QByteArray(4096, 'x'));
        };
        QStringList stale{VolnyNazev(m_folder->path(), QStringLiteral("QIRData.mdb")),
                          VolnyNazev(m_folder->path(), QStringLiteral("QIRData.zal")),
                          VolnyNazev(zaloha, QStringLiteral("QIRData.mdb")), VolnyNazev(internet, QStringLiteral("QIRData.mdb"))};
        stale << stale[2] + QStringLiteral("-journal");
        // Another computer that runs this program folder from the shared drive is writing
        // this one now: its name differs only in the computer's part.
        QString others = QFileInfo(VolnyNazev(zaloha, QStringLiteral("QIRData.mdb"))).fileName();
        QStringList parts = others.split(QLatin1Char('.'));
        QVERIFY2(parts.size() == 6, qPrintable(others));
        parts[3] = parts[3] == QLatin1String("00000000") ? QStringLiteral("11111111") : QStringLiteral("00000000");
        others = parts.join(QLatin1Char('.'));
        const QStringList kept{m_folder->file(QStringLiteral("QIRData.mdb.bak")), m_folder->file(QStringLiteral("QIRData.mdb.1")),
                               m_folder->file(QStringLiteral("QIRData.zal")), m_folder->file(QStringLiteral("QIRData.zdb")),
                               m_folder->file(QStringLiteral("QIRData.mdb.tmp")), zaloha + QStringLiteral("/QIRData.mdb.old"),
                               zaloha + QStringLiteral("/QIRData.zal"), zaloha + QLatin1Char('/') + others,
                               m_folder->file(QStringLiteral("img/.~QIRData.mdb.tmp"))};
        for (const QString &file : stale + kept)
            write(file);
        QVERIFY(!Main(program(), {}));
        for (const QString &file : stale)
            QVERIFY2(!QFileInfo::exists(file), qPrintable(file));
        for (const QString &file : kept)
            QVERIFY2(QFileInfo::exists(file), qPrintable(file));
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
        // The lock stays held here, so a restart waits for it in vain: briefly.
        NastavCekaniNaZamek(std::chrono::milliseconds(20));
        const auto fullWait = qScopeGuard([] { NastavCekaniNaZamek(std::chrono::seconds(5)); });
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

    // The program's own icon, not the toolkit's, on the main window, on every child
    // window in it and on a modal window opened from the menu.
    void ownIcon()
    {
        onCatalog({QStringLiteral("insert into Sekce (Sekce, Nazev) values (2, 'Známky')")});
        QVERIFY(!Main(program(), {}));
        const QIcon icon = QApplication::windowIcon();
        QVERIFY(!icon.isNull());
        const QImage own = icon.pixmap(32).toImage();
        QVERIFY(own != QApplication::style()->standardIcon(QStyle::SP_TitleBarMenuButton).pixmap(32).toImage());
        QCOMPARE(own, IkonaProgramu().pixmap(32).toImage());
        frmMain &main = frmMain::Form();
        QCOMPARE(main.windowIcon().pixmap(32).toImage(), own);
        const QList<QMdiSubWindow *> children = main.findChildren<QMdiSubWindow *>();
        QCOMPARE(children.size(), 3);
        for (QMdiSubWindow *child : children)
            QCOMPARE(child->windowIcon().pixmap(32).toImage(), own);
        main.show();
        QVERIFY(QTest::qWaitForWindowActive(&main));
        bool ran = false;
        QObject scope;
        testsupport::whenShown<frmLogo>(&scope, [&](frmLogo &w) {
            QCOMPARE(w.windowIcon().pixmap(32).toImage(), own);
            w.close();
            ran = true;
        });
        testsupport::chooseFromMenu(main.mnuAplikace, nullptr, main.mnuApl);
        QTRY_VERIFY(ran);
    }

    // With no section the user is told so and the sections window opens. Closed without
    // a section, only the main window stays; a section made there is current at once, and
    // its overview shows the default captions as a normal start does.
    void noSection_data()
    {
        QTest::addColumn<QString>("made");
        QTest::addColumn<QString>("tag");
        QTest::addColumn<QStringList>("views");
        QTest::newRow("none made") << QString() << "0" << QStringList();
        QTest::newRow("one made") << "Knihy" << "1" << QStringList{"frmPrehled", "frmVyber", "frmNahled"};
    }
    void noSection()
    {
        QFETCH(QString, made);
        QFETCH(QString, tag);
        QFETCH(QStringList, views);
        QFile::remove(m_folder->file(QStringLiteral("Lang.mdb")));
        testsupport::ScriptedBoxes boxes;
        boxes.expect(vbOK);
        m_drivesSections = true;
        QObject scope;
        bool shown = false;
        testsupport::whenShown<frmSekce>(&scope, [&](frmSekce &w) {
            shown = true;
            // The box came first.
            QCOMPARE(boxes.shown().size(), size_t(1));
            if (!made.isEmpty()) {
                QTest::mouseClick(w.VEdit->findChild<QPushButton *>(QStringLiteral("cmdAdd")), Qt::LeftButton);
                // Typed over the new row's name cell, where the cursor stands.
                QCOMPARE(w.VEdit->Col(), 1);
                QTest::keyClick(w.VEdit->grid()->view(), made.at(0).toLatin1());
                QTest::keyClicks(QApplication::focusWidget(), made.mid(1));
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
                QTest::mouseClick(w.cmdOK, Qt::LeftButton);
            } else {
                QTest::mouseClick(w.cmdEnd, Qt::LeftButton);
            }
        });
        QVERIFY(!Main(program(), {}));
        QVERIFY(shown);
        QCOMPARE(boxes.shown()[0].text,
                 QStringLiteral("Není navedena žádná sekce. Naveďte novou sekci a proveďte nastavení katalogu."));
        frmMain &main = frmMain::Form();
        QCOMPARE(main.lblSekce->property("Tag").toString(), tag);
        QCOMPARE(main.lblSekce->text(), made.toUpper());
        QCOMPARE(openViews(), views);
        QCOMPARE(PrehledOtevren(), !made.isEmpty());
        QCOMPARE(main.mnuNew->isEnabled(), !made.isEmpty());
        QCOMPARE(main.mnuSekce->isEnabled(), !made.isEmpty());
        if (!made.isEmpty()) {
            VarnexEditUni *overview = overviewGrid(frmPrehled::Form());
            QCOMPARE(overview->Cols(), 32);
            QCOMPARE(overview->TMatrix(0, 1), QStringLiteral("Pol1"));
            QCOMPARE(overview->TMatrix(0, 30), QStringLiteral("Pol30"));
            QCOMPARE(main.mnuSekceX[0]->text(), made);
        }
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

    // Which file systems other computers share the catalog on.
    void networkFileSystem_data()
    {
        QTest::addColumn<QString>("type");
        QTest::addColumn<bool>("network");
        for (const char *type : {"nfs", "nfs4", "cifs", "smb3", "smbfs", "9p", "ceph", "fuse.sshfs", "fuse.glusterfs", "afs", "NFS4"})
            QTest::newRow(type) << QString::fromLatin1(type) << true;
        for (const char *type : {"ext4", "xfs", "btrfs", "tmpfs", "overlay", "vfat", "fuse", "fuseblk", "fuse.ntfs-3g", "", "nfsd"})
            QTest::newRow(*type ? type : "unknown") << QString::fromLatin1(type) << false;
    }
    void networkFileSystem()
    {
        QFETCH(QString, type);
        QFETCH(bool, network);
        QCOMPARE(SitovySystemSouboru(type), network);
    }

    // A start of a network workstation asks for the workstation's name once and for the
    // login every time; a single workstation asks for neither.
    void networkStart_data()
    {
        QTest::addColumn<QString>("setting");     // SitovaStanice; null: not set
        QTest::addColumn<QString>("stanice");     // the name kept before; null: none
        QTest::addColumn<QString>("heslo");       // S_Param.Heslo as SQL
        QTest::addColumn<QStringList>("answers"); // the message and input boxes'
        QTest::addColumn<QStringList>("login");   // the steps in the login window; none: it must not show
        QTest::addColumn<int>("end");             // -1: the program runs
        QTest::addColumn<QStringList>("boxes");
        QTest::addColumn<QString>("uzivatel");    // "<login name>": the platform's
        QTest::addColumn<QString>("nazevStanice");
        const QString longName = QStringLiteral("Sklad v přízemí u hlavní brány"); // 30 characters
        QTest::newRow("first start: name asked, right password")
            << "True" << QString() << "'tajne'" << QStringList{"input Sklad 2", "ok"}
            << QStringList{"user eva", "password tajne", "ok"} << -1 << QStringList{kNamePrompt, nameSet("Sklad 2")} << "eva"
            << "Sklad 2";
        QTest::newRow("name kept, wrong password and then the right one")
            << "true" << "Pokladna" << "'tajne'" << QStringList{"ok"}
            << QStringList{"user   Jan Novák  ", "password tajné", "enter", "password tajne", "enter"} << -1
            << QStringList{kWrongPassword} << "Jan Novák" << "Pokladna";
        QTest::newRow("the platform's login name") << "True" << "Pokladna" << "'tajne'" << QStringList()
                                                   << QStringList{"password tajne", "ok"} << -1 << QStringList()
                                                   << "<login name>" << "Pokladna";
        QTest::newRow("no user name: the workstation's") << "True" << "Pokladna" << "'tajne'" << QStringList()
                                                         << QStringList{"user ", "password tajne", "ok"} << -1 << QStringList()
                                                         << "Pokladna" << "Pokladna";
        QTest::newRow("name kept as typed, spaces and all")
            << "True" << "   " << "'tajne'" << QStringList{"input  Sklad ", "ok"} << QStringList{"user eva", "password tajne", "ok"}
            << -1 << QStringList{kNamePrompt, nameSet(" Sklad ")} << "eva" << " Sklad ";
        QTest::newRow("name too long: asked again")
            << "True" << QString() << "'tajne'" << QStringList{"input " + longName + "e", "ok", "input " + longName, "ok"}
            << QStringList{"user eva", "password tajne", "ok"} << -1
            << QStringList{kNamePrompt, kNameTooLong, kNamePrompt, nameSet(longName)} << "eva" << longName;
        QTest::newRow("name too long, then none") << "True" << QString() << "'tajne'"
                                                  << QStringList{"input " + longName + "!", "ok", "input ", "ok"} << QStringList()
                                                  << 1 << QStringList{kNamePrompt, kNameTooLong, kNamePrompt, kNoName} << QString()
                                                  << QString();
        QTest::newRow("empty name ends") << "True" << QString() << "'tajne'" << QStringList{"input    ", "ok"} << QStringList() << 1
                                         << QStringList{kNamePrompt, kNoName} << QString() << QString();
        QTest::newRow("name box cancelled ends") << "True" << QString() << "'tajne'" << QStringList{"cancel", "ok"} << QStringList()
                                                 << 1 << QStringList{kNamePrompt, kNoName} << QString() << QString();
        QTest::newRow("login cancelled ends") << "True" << "Pokladna" << "'tajne'" << QStringList()
                                              << QStringList{"user eva", "password taj", "cancel"} << 0 << QStringList() << QString()
                                              << "Pokladna";
        QTest::newRow("login closed with Escape ends") << "True" << "Pokladna" << "'tajne'" << QStringList{"ok"}
                                                       << QStringList{"password x", "ok", "escape"} << 0
                                                       << QStringList{kWrongPassword} << QString() << "Pokladna";
        QTest::newRow("no password in the catalog: none confirms")
            << "True" << "Pokladna" << "null" << QStringList{"ok", "ok"} << QStringList{"ok", "password tajne", "ok", "cancel"} << 0
            << QStringList{kWrongPassword, kWrongPassword} << QString() << "Pokladna";
        QTest::newRow("an empty password in the catalog: an empty box confirms")
            << "True" << "Pokladna" << "''" << QStringList() << QStringList{"user eva", "ok"} << -1 << QStringList() << "eva"
            << "Pokladna";
        QTest::newRow("single workstation, turned off") << "False" << "Pokladna" << "'tajne'" << QStringList() << QStringList() << -1
                                                        << QStringList() << "PC1" << "PC1";
        QTest::newRow("single workstation, a catalog on a local disk")
            << QString() << QString() << "'tajne'" << QStringList() << QStringList() << -1 << QStringList() << "PC1" << "PC1";
        QTest::newRow("a setting that is no Boolean: the local disk decides")
            << "ano" << QString() << "'tajne'" << QStringList() << QStringList() << -1 << QStringList() << "PC1" << "PC1";
    }
    void networkStart()
    {
        QFETCH(QString, setting);
        QFETCH(QString, stanice);
        QFETCH(QString, heslo);
        QFETCH(QStringList, answers);
        QFETCH(QStringList, login);
        QFETCH(int, end);
        QFETCH(QStringList, boxes);
        QFETCH(QString, uzivatel);
        QFETCH(QString, nazevStanice);
        withSection();
        onCatalog({QStringLiteral("update S_Param set Heslo=") + heslo,
                   QStringLiteral("insert into Definice (Poradi, Pol, Zobraz, Typ, Zarovnani, Nazev, Sekce) "
                                  "values (1, 'Pol1', 1, 'C', 'L', 'Název', 1)")});
        if (!setting.isNull())
            UlozInfo(QStringLiteral("SitovaStanice"), setting);
        if (!stanice.isNull())
            UlozInfo(QStringLiteral("Stanice"), stanice);
        if (uzivatel == QLatin1String("<login name>")) {
            uzivatel = sys::UserName().trimmed();
            if (uzivatel.isEmpty())
                uzivatel = nazevStanice;
        }
        testsupport::ScriptedBoxes scripted;
        answerBoxes(scripted, answers);
        bool loginShown = false;
        QStringList passwords;
        QObject scope;
        whenLoginShows(&scope, login, &loginShown, &passwords);

        const auto result = Main(program(), {});

        QCOMPARE(logOf(scripted), boxes);
        QCOMPARE(loginShown, !login.isEmpty());
        QCOMPARE(result, end < 0 ? std::nullopt : std::optional<int>(end));
        // The name is kept only once it was accepted.
        QCOMPARE(NactiInfo(QStringLiteral("Stanice")), nazevStanice.isEmpty() || nazevStanice == QLatin1String("PC1") ? stanice
                                                                                                                     : nazevStanice);
        // No password reaches a box or a setting.
        QFile ini(settingsFile());
        QVERIFY(ini.open(QIODevice::ReadOnly));
        const QString settings = QString::fromUtf8(ini.readAll());
        for (const QString &password : std::as_const(passwords)) {
            if (password.size() < 3)
                continue;
            QVERIFY2(!settings.contains(password), qPrintable(settings));
            QVERIFY(!logOf(scripted).join(QLatin1Char('\n')).contains(password));
        }
        if (end >= 0) {
            QVERIFY(!frmMain::Loaded());
            return;
        }
        QCOMPARE(Uzivatel, uzivatel);
        QCOMPARE(NazevStanice, nazevStanice);
        QVERIFY(frmMain::Loaded() && frmMain::Loaded()->isVisible());
        // The overview's control keeps its column layout under the user's name.
        QVERIFY(frmPrehled::Loaded());
        QCOMPARE(overviewGrid(*frmPrehled::Loaded())->UserName(), uzivatel);
        frmMain::Unload();
        QCoreApplication::processEvents();
        auto logins = Db->OpenRecordset(QStringLiteral("select distinct Login from S_Grid"));
        QVERIFY(!logins->Eof());
        QCOMPARE(logins->Fields(0).Value().toString(), uzivatel);
        logins->MoveNext();
        QVERIFY(logins->Eof());
    }

    // A workstation name too long is refused with the limit, in the language of the
    // settings, and asked for again.
    void workstationNameTooLong_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("message");
        QTest::newRow("Czech") << "1" << "Nastavení prostředí" << "Název stanice může mít nejvýše 30 znaků.";
        QTest::newRow("English") << "2" << "Environment settings" << "The workstation name may have at most 30 characters.";
        QTest::newRow("Chinese") << "3" << "环境设置" << "工作站名称最多 30 个字符。";
    }
    void workstationNameTooLong()
    {
        QFETCH(QString, language);
        QFETCH(QString, title);
        QFETCH(QString, message);
        withSection();
        UlozInfo(QStringLiteral("SitovaStanice"), QStringLiteral("True"));
        UlozInfo(QStringLiteral("Lang"), language);
        const QString typed = QStringLiteral("Sklad v přízemí u hlavní brány!");  // 31 characters
        testsupport::ScriptedBoxes scripted;
        answerBoxes(scripted, {QStringLiteral("input ") + typed, QStringLiteral("ok"), QStringLiteral("cancel"), QStringLiteral("ok")});
        QCOMPARE(Main(program(), {}), std::optional<int>(1));
        QCOMPARE(scripted.shown().size(), size_t(4));
        QCOMPARE(scripted.shown()[1].text, message);
        QCOMPARE(scripted.shown()[1].title, title);
        QCOMPARE(scripted.shown()[1].style, int(vbExclamation));
        // Asked again.
        QVERIFY(scripted.shown()[2].input);
        QCOMPARE(scripted.shown()[2].text, scripted.shown()[0].text);
        QCOMPARE(NactiInfo(QStringLiteral("Stanice")), QString());
    }

    // Data that need converting: a workstation running the program from the shared drive
    // leaves them alone; one running it from its own disk converts them and then logs in.
    void conversionOnANetworkWorkstation_data()
    {
        QTest::addColumn<QString>("fromNetwork");
        QTest::newRow("program on the network drive: refused") << "True";
        QTest::newRow("program on a local disk: converted") << "False";
        QTest::newRow("program folder on a local disk: converted") << QString();
    }
    void conversionOnANetworkWorkstation()
    {
        QFETCH(QString, fromNetwork);
        const bool refused = fromNetwork == QLatin1String("True");
        withSection();
        onCatalog({QStringLiteral("update S_Param set Verze='3.1.0', Heslo='tajne'")});
        UlozInfo(QStringLiteral("SitovaStanice"), QStringLiteral("True"));
        UlozInfo(QStringLiteral("Stanice"), QStringLiteral("Pokladna"));
        if (!fromNetwork.isNull())
            UlozInfo(QStringLiteral("ProgramZeSite"), fromNetwork);
        testsupport::ScriptedBoxes scripted;
        if (refused)
            scripted.expect(vbOK);
        bool loginShown = false;
        QStringList passwords;
        QObject scope;
        whenLoginShows(&scope, refused ? QStringList() : QStringList{QStringLiteral("password tajne"), QStringLiteral("ok")},
                       &loginShown, &passwords);

        const auto result = Main(program(), {});

        QCOMPARE(loginShown, !refused);
        Db.reset();
        Ws.reset();
        dao::Workspace ws;
        const QString verze =
            ws.OpenDatabase(catalog())->OpenRecordset(QStringLiteral("select Verze from S_Param"))->Fields(0).Value().toString();
        if (!refused) {
            QVERIFY(!result);
            QCOMPARE(verze, QStringLiteral("3.0.4"));
            QCOMPARE(sys::beepCount(), 0);
            return;
        }
        QCOMPARE(result, std::optional<int>(1));
        QCOMPARE(logOf(scripted), QStringList{QStringLiteral("16|Otevření dat|Verze programu ( 3.0.4 ) neodpovídá verzi dat na "
                                                             "serveru (3.1.0 )\\nProgram bude ukončen.")});
        QCOMPARE(sys::beepCount(), 1);
        QCOMPARE(verze, QStringLiteral("3.1.0"));
        QVERIFY(!frmMain::Loaded());
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
