// Figures for the selection window and the commands on the selected records, on a section
// of many records with 12 shown fields (one of 1,000 distinct values, one of 2), the
// overview's record limit off, each beside the bare statements on the raw SQLite API:
// - applying three conditions ("Vybrat") and the overview refilled with what they select;
// - dropping down the 1,000-value field's list under those three conditions;
// - deleting the 50,000 records of one value with their attachment rows (one or two a
//   record), the transaction alone and the whole menu command with its reload.
// bench_vyber [--records N]; each figure on a line of its own, "name: value unit".
#include "VarnexEditUni.h"
#include "common/globals.h"
#include "common/mainframe.h"
#include "data/currentoverview.h"
#include "data/infosettings.h"
#include "data/selectedrecords.h"
#include "data/selectioncondition.h"
#include "gencatalog.h"
#include "jetsql.h"
#include "mainwindow/frmMain.h"
#include "overview/frmPrehled.h"
#include "msgbox.h"
#include "records/frmEditace.h"
#include "records/frmVyber.h"
#include "benchsupport.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <sqlite3.h>
#include <string_view>
#include <vector>

namespace {

constexpr int kRuns = 5;
// The rows of the selection window, by field: Název, Rok, Datum nákupu, the 1,000-value
// and the 2-value field.
constexpr size_t kNazev = 1, kRok = 5, kNakup = 8, kTisic = 11, kDva = 12;

[[noreturn]] void fail(const QString &what)
{
    std::fprintf(stderr, "bench_vyber: %s\n", qPrintable(what));
    std::exit(1);
}

// ---- the raw API with the same rules the layer registers: LIKE, format and the collation

QString text(sqlite3_value *v)
{
    return QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_value_text(v)), sqlite3_value_bytes(v));
}

void rawLike(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL || sqlite3_value_type(argv[1]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    sqlite3_result_int(ctx, jet::likeMatch(text(argv[1]), text(argv[0])) ? 1 : 0);
}

void rawFormat(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    Variant value;
    switch (sqlite3_value_type(argv[0])) {
    case SQLITE_NULL: sqlite3_result_null(ctx); return;
    case SQLITE_INTEGER: case SQLITE_FLOAT: value = Variant(sqlite3_value_double(argv[0])); break;
    default: value = Variant(text(argv[0]));
    }
    const QByteArray out = jet::format(value, text(argv[1])).toString().toUtf8();
    sqlite3_result_text(ctx, out.constData(), int(out.size()), SQLITE_TRANSIENT);
}

int rawCollate(void *, int aLen, const void *a, int bLen, const void *b)
{
    return jet::collateUtf8(static_cast<const char *>(a), aLen, static_cast<const char *>(b), bLen);
}

sqlite3 *openRaw(const QString &path, int flags)
{
    sqlite3 *db = nullptr;
    if (sqlite3_open_v2(QFile::encodeName(path).constData(), &db, flags, nullptr) != SQLITE_OK)
        fail(QString::fromUtf8(sqlite3_errmsg(db)));
    sqlite3_busy_timeout(db, 2000);
    sqlite3_create_function(db, "like", 2, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr, rawLike, nullptr, nullptr);
    sqlite3_create_function(db, "format", 2, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr, rawFormat, nullptr, nullptr);
    sqlite3_create_collation(db, jet::kCollationName, SQLITE_UTF8, nullptr, rawCollate);
    return db;
}

// Runs a query to its end, each row's fields read as texts; the rows counted.
double rawQuery(const QString &path, const QString &sql, int *rows)
{
    sqlite3 *db = openRaw(path, SQLITE_OPEN_READONLY);
    QElapsedTimer t;
    t.start();
    sqlite3_stmt *stmt = nullptr;
    if (sqlite3_prepare_v2(db, jet::rewrite(sql).sql.toUtf8().constData(), -1, &stmt, nullptr) != SQLITE_OK)
        fail(QString::fromUtf8(sqlite3_errmsg(db)));
    QStringList fields;
    int n = 0;
    while (sqlite3_step(stmt) == SQLITE_ROW) {
        fields.clear();
        for (int c = 0; c < sqlite3_column_count(stmt); ++c)
            fields << QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(stmt, c)), sqlite3_column_bytes(stmt, c));
        ++n;
    }
    sqlite3_finalize(stmt);
    const double ms = msSince(t);
    sqlite3_close(db);
    *rows = n;
    return ms;
}

void rawExec(sqlite3 *db, const QString &sql)
{
    char *message = nullptr;
    if (sqlite3_exec(db, jet::rewrite(sql).sql.toUtf8().constData(), nullptr, nullptr, &message) != SQLITE_OK)
        fail(QString::fromUtf8(message));
}

// The delete's statements in one transaction on the raw API.
double rawDelete(const QString &path, const QStringList &statements)
{
    sqlite3 *db = openRaw(path, SQLITE_OPEN_READWRITE);
    QElapsedTimer t;
    t.start();
    rawExec(db, QStringLiteral("begin"));
    for (const QString &sql : statements)
        rawExec(db, sql);
    rawExec(db, QStringLiteral("commit"));
    const double ms = msSince(t);
    sqlite3_close(db);
    return ms;
}

QString fresh(const QString &pristine, const QString &work)
{
    QFile::remove(work);
    if (!QFile::copy(pristine, work))
        fail(QStringLiteral("cannot copy the catalog"));
    QFile::setPermissions(work, QFile::permissions(work) | QFile::WriteOwner);
    return work;
}

// The catalog's program state on the file: Ws and Db, the main window, the overview of
// section 1 and the selection window with its rows.
frmVyber &openViews(const QString &path)
{
    Ws = std::make_unique<dao::Workspace>();
    Db = Ws->OpenDatabase(path);
    frmMain::Form().show();
    NastavAktualniSekci(1, QStringLiteral("SEKCE"));
    frmPrehled::Form().Zobraz();
    frmPrehled::Form().NactiData();
    frmVyber::Form().Zobraz();
    frmVyber::Form().NactiData();
    QCoreApplication::processEvents();
    if (frmVyber::Form().cmb.size() != 13)
        fail(QStringLiteral("%1 rows, not 12").arg(int(frmVyber::Form().cmb.size()) - 1));
    return frmVyber::Form();
}

void closeViews()
{
    frmMain::Unload();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    Db.reset();
    Ws.reset();
}

int shownRows()
{
    return frmPrehled::Loaded()->findChild<VarnexEditUni *>(QStringLiteral("VEdit"))->LiveRows();
}

}  // namespace

int main(int argc, char **argv)
{
    qInstallMessageHandler(quietPlatform);
    QApplication app(argc, argv);
    const int records = recordsArgument(app.arguments(), 100000);

    msgbox::ScriptedAnswerer answerer;
    answerer.onUnexpected = [](const msgbox::Shown &box) { fail(QStringLiteral("unexpected message: ") + box.text); };
    msgbox::setAnswerer(&answerer);

    QTemporaryDir dir;
    qputenv("XDG_CONFIG_HOME", dir.filePath(QStringLiteral("config")).toUtf8());
    const QString pristine = dir.filePath(QStringLiteral("pristine.mdb"));
    GenOptions o;
    o.records = records;
    o.sections = 1;
    o.extraFields = {1000, 2};
    std::printf("bench_vyber: %d records in one section, 12 shown fields, the overview unlimited (%s build)\n", records,
                OSKAL_BUILD_TYPE);
    CreateCatalogFile(QStringLiteral(OSKAL_APP_DIR "/QIRData.upg"), pristine, o);
    {
        // One attachment row a record, a second for every tenth, and one of no record.
        dao::Workspace ws;
        auto db = ws.OpenDatabase(pristine);
        db->Execute(QStringLiteral("insert into Obrazky (Inter, Poradi, Soubor, Popis) select Inter, 1, 'obr.jpg', 'Obálka' from Katalog"));
        db->Execute(QStringLiteral("insert into Obrazky (Inter, Poradi, Soubor, Popis) select Inter, 2, 'zad.jpg', 'Zadní strana' "
                                   "from Katalog where Inter % 10 = 0"));
        db->Execute(QStringLiteral("insert into Obrazky (Inter, Poradi, Soubor) values (0, 1, 'sirotek.jpg')"));
    }
    UlozInfo(QStringLiteral("chkAllRecords"), QStringLiteral("false"));
    UlozInfo(QStringLiteral("VyberWindowShow"), QStringLiteral("true"));
    UlozInfo(QStringLiteral("NahledWindowShow"), QStringLiteral("false"));

    // ---- applying three conditions, and the list under them
    const QString work = fresh(pristine, dir.filePath(QStringLiteral("QIRData.mdb")));
    frmVyber &w = openViews(work);
    w.cmb[kNazev]->setEditText(QStringLiteral("*a*"));
    w.cmb[kRok]->setEditText(QStringLiteral("1950*2000"));
    w.cmb[kNakup]->setEditText(QStringLiteral("1.1.2010*31.12.2030"));
    std::vector<double> apply;
    for (int run = 0; run < kRuns; ++run) {
        QElapsedTimer t;
        t.start();
        w.cmdVyber->click();
        QCoreApplication::processEvents();  // the rows painted
        apply.push_back(msSince(t));
    }
    const QString condition = w.Podminka();
    const int selected = shownRows();
    if (condition.isEmpty() || selected == 0 || selected == records)
        fail(QStringLiteral("the conditions selected %1 records").arg(selected));
    const QString select = QStringLiteral("select ") + Prehled().SeznamPoli() + QStringLiteral(" from Katalog where ")
                           + FiltrVyberu(1, condition) + QStringLiteral(" order by ") + Prehled().SloupcePrehledu()[1].Jmeno;
    std::vector<double> rawApply;
    int rawSelected = 0;
    for (int run = 0; run < kRuns; ++run)
        rawApply.push_back(rawQuery(work, select, &rawSelected));
    if (rawSelected != selected)
        fail(QStringLiteral("the overview shows %1 records, the bare query %2").arg(selected).arg(rawSelected));
    std::printf("selected: %d of %d records by %s\n", selected, records, qPrintable(condition));
    print("vyber_apply_3", median(apply), "ms");
    print("bare_select_3", median(rawApply), "ms");
    print("vyber_apply_ratio", median(apply) / median(rawApply), "x");

    // The 1,000-value field's list: opened after the 2-value field's each time, so that it
    // is loaded afresh, as after the user entered another row.
    std::vector<double> drop;
    int items = 0;
    for (int run = 0; run < kRuns; ++run) {
        w.cmb[kDva]->showPopup();
        w.cmb[kDva]->hidePopup();
        QElapsedTimer t;
        t.start();
        w.cmb[kTisic]->showPopup();
        QCoreApplication::processEvents();  // the list painted
        drop.push_back(msSince(t));
        items = w.cmb[kTisic]->count();
        w.cmb[kTisic]->hidePopup();
        QCoreApplication::processEvents();
    }
    const QString listQuery = DotazSeznamuVyberu(1, Prehled().SloupcePrehledu()[kTisic], condition);
    std::vector<double> rawDrop;
    int rawItems = 0;
    for (int run = 0; run < kRuns; ++run)
        rawDrop.push_back(rawQuery(work, listQuery, &rawItems));
    if (items != rawItems)
        fail(QStringLiteral("the list holds %1 values, the bare query %2").arg(items).arg(rawItems));
    std::printf("list_values: %d\n", items);
    print("vyber_dropdown_1000", median(drop), "ms");
    print("bare_distinct_1000", median(rawDrop), "ms");
    print("vyber_dropdown_ratio", median(drop) / median(rawDrop), "x");
    closeViews();

    // ---- deleting the records of one of the 2-value field's values: half the section
    QString half;
    {
        dao::Workspace ws;
        half = ws.OpenDatabase(pristine)->OpenRecordset(QStringLiteral("select Pol12C from Katalog where Inter=1"))->Fields(0).Value().toString();
    }
    const PodminkaVyberu byHalf = SestavPodminku({{half, QStringLiteral("C"), QStringLiteral("Pol12C")}});
    std::vector<double> transaction, rawTransaction, command;
    long deleted = 0;
    for (int run = 0; run < kRuns; ++run) {
        dao::Workspace ws;
        auto db = ws.OpenDatabase(fresh(pristine, work));
        QElapsedTimer t;
        t.start();
        deleted = SmazVybrane(ws, *db, 1, byHalf.Podminka);
        transaction.push_back(msSince(t));
    }
    const long attachmentsLeft = [&] {
        dao::Workspace ws;
        return ws.OpenDatabase(work)->OpenRecordset(QStringLiteral("select count(*) from Obrazky"))->Fields(0).Value().toLong();
    }();
    for (int run = 0; run < kRuns; ++run)
        rawTransaction.push_back(rawDelete(fresh(pristine, work), SmazaniVybranychSql(1, byHalf.Podminka)));
    // The whole command from the menu: the count, the question, the transaction and the
    // overview refilled with the rest of the section.
    for (int run = 0; run < kRuns; ++run) {
        frmVyber &v = openViews(fresh(pristine, work));
        v.cmb[kDva]->setEditText(half);
        v.cmdVyber->click();
        if (shownRows() != deleted)
            fail(QStringLiteral("the selection shows %1 records, the delete took %2").arg(shownRows()).arg(deleted));
        answerer.expect(vbYes);
        QElapsedTimer t;
        t.start();
        frmMain::Form().mnuDeleteAll_Click();
        QCoreApplication::processEvents();
        command.push_back(msSince(t));
        if (shownRows() != records - deleted)
            fail(QStringLiteral("the overview shows %1 records after the delete").arg(shownRows()));
        closeViews();
    }
    std::printf("deleted: %ld records, %ld attachment rows left\n", deleted, attachmentsLeft);
    print("vyber_delete_50000", median(transaction), "ms");
    print("bare_delete_50000", median(rawTransaction), "ms");
    print("vyber_delete_ratio", median(transaction) / median(rawTransaction), "x");
    print("vyber_delete_command", median(command), "ms");
    return 0;
}
