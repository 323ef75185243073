// Figures for the record edit window on a section of many records with 12 shown fields,
// the overview loaded in full: opening the window on a record, dropping down a field's
// list (one of 1,000 distinct values, one of a value per record) beside the same
// `select distinct` on the bare SQLite API, and saving an edited and a new record
// beside the same statements on the bare API.
// bench_editace [--records N]; each figure on a line of its own, "name: value unit".
#include "data/currentoverview.h"
#include "data/infosettings.h"
#include "data/recordsave.h"
#include "data/sqlliteral.h"
#include "gencatalog.h"
#include "jetsql.h"
#include "mainwindow/frmMain.h"
#include "overview/frmPrehled.h"
#include "msgbox.h"
#include "records/frmEditace.h"
#include "common/globals.h"
#include "common/mainframe.h"
#include "benchboxes.h"
#include "benchsupport.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string_view>
#include <sqlite3.h>
#include <vector>

namespace {

constexpr int kRuns = 7;
// The extra fields' numbers of distinct values; 0: each record its own.
constexpr int kThousand = 1000;
const QString kThousandField = QStringLiteral("Pol11C");
const QString kUniqueField = QStringLiteral("Pol12C");

// Opens the window on `key` and runs `inside` in its modal loop once it shows, then
// closes it; returns the time from the call until the window was shown and painted.
double withWindow(qint32 key, bool copy, const std::function<void(frmEditace &)> &inside)
{
    QElapsedTimer t;
    double opened = 0;
    QTimer::singleShot(0, [&] {
        QCoreApplication::processEvents();  // the first paint
        opened = msSince(t);
        frmEditace &w = *frmEditace::Loaded();
        if (inside)
            inside(w);
        w.close();
    });
    t.start();
    frmEditace::Form().Zobraz(key, copy);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return opened;
}

PoleBox *boxOf(frmEditace &w, const QString &column)
{
    for (size_t f = 1; f < Prehled().SloupcePrehledu().size(); ++f)
        if (Prehled().SloupcePrehledu()[f].Jmeno.compare(column, Qt::CaseInsensitive) == 0)
            return w.cmb[f + 1];
    std::fprintf(stderr, "bench_editace: no box for %s\n", qPrintable(column));
    std::exit(1);
}

double dropDown(PoleBox &box, int *count = nullptr)
{
    QElapsedTimer t;
    t.start();
    box.showPopup();
    QCoreApplication::processEvents();  // the list painted
    const double ms = msSince(t);
    if (count)
        *count = box.count();
    box.hidePopup();
    QCoreApplication::processEvents();
    return ms;
}

int collateJetcz(void *, int aLen, const void *a, int bLen, const void *b)
{
    return jet::collateUtf8(static_cast<const char *>(a), aLen, static_cast<const char *>(b), bLen);
}

sqlite3 *openRaw(const QString &path, int flags)
{
    sqlite3 *db = nullptr;
    if (sqlite3_open_v2(QFile::encodeName(path).constData(), &db, flags, nullptr) != SQLITE_OK) {
        std::fprintf(stderr, "bench_editace: %s\n", sqlite3_errmsg(db));
        std::exit(1);
    }
    sqlite3_busy_timeout(db, 2000);
    sqlite3_create_collation(db, "JETCZ", SQLITE_UTF8, nullptr, collateJetcz);
    return db;
}

// The list of the drop-down on the bare API: the same query, the texts in a QStringList.
double rawDistinct(const QString &path, const QString &column, int *count = nullptr)
{
    sqlite3 *db = openRaw(path, SQLITE_OPEN_READONLY);
    QElapsedTimer t;
    t.start();
    const QString sql = QStringLiteral("select distinct ") + column + QStringLiteral(" as vyber from Katalog where sekce=1 order by ")
                        + column;
    sqlite3_stmt *stmt = nullptr;
    sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &stmt, nullptr);
    QStringList values;
    while (sqlite3_step(stmt) == SQLITE_ROW)
        values << QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(stmt, 0)), sqlite3_column_bytes(stmt, 0));
    sqlite3_finalize(stmt);
    const double ms = msSince(t);
    if (count)
        *count = int(values.size());
    sqlite3_close(db);
    return ms;
}

void rawExec(sqlite3 *db, const QString &sql)
{
    char *message = nullptr;
    if (sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, &message) != SQLITE_OK) {
        std::fprintf(stderr, "bench_editace: %s\n", message);
        std::exit(1);
    }
}

// The statements an edit's save makes, in one transaction on the bare API.
double rawSave(sqlite3 *db, qint32 key, const std::vector<PoleZaznamu> &fields, int run)
{
    const QDateTime now = QDateTime::currentDateTime();
    QStringList assignments;
    for (PoleZaznamu pole : fields) {
        if (pole.Typ == QLatin1String("C"))
            pole.Text += QString::number(run);
        assignments << pole.Jmeno + QLatin1Char('=') + HodnotaPole(pole, now.date());
    }
    const QString where = QStringLiteral(" where inter=") + QString::number(key);
    QElapsedTimer t;
    t.start();
    rawExec(db, QStringLiteral("begin"));
    rawExec(db, QStringLiteral("Update katalog set ") + assignments.join(QStringLiteral(", ")) + where);
    rawExec(db, QStringLiteral("Update katalog set poznamka=") + CSQL(QStringLiteral("Poznámka"))
                    + QStringLiteral(", aktualizace=") + CSQL(Variant(now)) + where);
    rawExec(db, QStringLiteral("commit"));
    return msSince(t);
}

// The boxes' texts as the save reads them.
std::vector<PoleZaznamu> boxTexts(frmEditace &w)
{
    std::vector<PoleZaznamu> fields;
    for (size_t i = 2; i < w.cmb.size(); ++i)
        fields.push_back({Prehled().SloupcePrehledu()[i - 1].Jmeno, w.cmb[i]->property("Tag").toString(), w.cmb[i]->currentText()});
    return fields;
}

double save(frmEditace &w, int run)
{
    w.cmb[2]->setEditText(QStringLiteral("Upravený název %1").arg(run));
    QElapsedTimer t;
    t.start();
    if (!w.UlozZaznam(true)) {
        std::fprintf(stderr, "bench_editace: the save failed\n");
        std::exit(1);
    }
    return msSince(t);
}

}  // namespace

int main(int argc, char **argv)
{
    qInstallMessageHandler(quietPlatform);
    QApplication app(argc, argv);
    const int records = recordsArgument(app.arguments(), 100000);

    endOnUnexpectedBoxes("bench_editace");

    QTemporaryDir dir;
    qputenv("XDG_CONFIG_HOME", dir.filePath(QStringLiteral("config")).toUtf8());
    const QString path = dir.filePath(QStringLiteral("QIRData.mdb"));
    GenOptions o;
    o.records = records;
    o.sections = 1;
    o.extraFields = {kThousand, 0};
    std::printf("bench_editace: %d records in one section, 12 shown fields, the overview unlimited (%s build)\n", records,
                OSKAL_BUILD_TYPE);
    CreateCatalogFile(QStringLiteral(OSKAL_APP_DIR "/QIRData.upg"), path, o);
    Ws = std::make_unique<dao::Workspace>();
    Db = Ws->OpenDatabase(path);
    frmMain::Form().show();

    // The overview first: the window takes its columns and widths.
    UlozInfo(QStringLiteral("chkAllRecords"), QStringLiteral("false"));
    NastavAktualniSekci(1, QStringLiteral("SEKCE"));
    frmPrehled::Form().Zobraz();
    frmPrehled::Form().NactiData();
    QCoreApplication::processEvents();
    if (Prehled().SloupcePrehledu().size() != 13) {
        std::fprintf(stderr, "bench_editace: %d shown fields, not 12\n", int(Prehled().SloupcePrehledu().size()) - 1);
        return 1;
    }

    const qint32 key = std::max(1, records / 2);
    std::vector<double> open;
    for (int run = 0; run < kRuns; ++run)
        open.push_back(withWindow(key, false, nullptr));
    print("editace_open", median(open), "ms");
    print("editace_open_first", open.front(), "ms");

    // The lists, each opened several times in one window as a user would.
    std::vector<double> drop1000, dropAll, save1;
    int count1000 = 0, countAll = 0;
    std::vector<PoleZaznamu> fields;
    withWindow(key, false, [&](frmEditace &w) {
        for (int run = 0; run < kRuns; ++run)
            drop1000.push_back(dropDown(*boxOf(w, kThousandField), &count1000));
        for (int run = 0; run < kRuns; ++run)
            dropAll.push_back(dropDown(*boxOf(w, kUniqueField), &countAll));
        for (int run = 0; run < kRuns; ++run)
            save1.push_back(save(w, run));
        fields = boxTexts(w);
    });
    std::vector<double> raw1000, rawAll;
    int rawCount1000 = 0, rawCountAll = 0;
    for (int run = 0; run < kRuns; ++run) {
        raw1000.push_back(rawDistinct(path, kThousandField, &rawCount1000));
        rawAll.push_back(rawDistinct(path, kUniqueField, &rawCountAll));
    }
    if (count1000 != rawCount1000 || countAll != rawCountAll)
        std::fprintf(stderr, "bench_editace: the lists differ: %d/%d and %d/%d values\n", count1000, rawCount1000, countAll,
                     rawCountAll);
    std::printf("distinct_values: %d and %d\n", count1000, countAll);
    print("editace_dropdown_1000", median(drop1000), "ms");
    print("bare_distinct_1000", median(raw1000), "ms");
    print("editace_dropdown_ratio_1000", median(drop1000) / median(raw1000), "x");
    print("editace_dropdown_all", median(dropAll), "ms");
    print("bare_distinct_all", median(rawAll), "ms");
    print("editace_dropdown_ratio_all", median(dropAll) / median(rawAll), "x");

    // A new record: the first save creates it, and so does every one after (a copy).
    std::vector<double> saveNew;
    withWindow(0, false, [&](frmEditace &w) {
        for (size_t i = 2; i < w.cmb.size(); ++i)
            w.cmb[i]->setEditText(w.cmb[i]->property("Tag").toString() == QLatin1String("C") ? QStringLiteral("Nový")
                                                                                            : QStringLiteral("12"));
        for (int run = 0; run < kRuns; ++run)
            saveNew.push_back(save(w, run));
    });

    // The same writes on the bare API, the program's connection idle meanwhile.
    std::vector<double> rawSaves;
    sqlite3 *raw = openRaw(path, SQLITE_OPEN_READWRITE);
    for (int run = 0; run < kRuns; ++run)
        rawSaves.push_back(rawSave(raw, key, fields, run));
    sqlite3_close(raw);

    print("editace_save_edit", median(save1), "ms");
    print("editace_save_new", median(saveNew), "ms");
    print("bare_update", median(rawSaves), "ms");
    print("editace_save_edit_ratio", median(save1) / median(rawSaves), "x");

    frmPrehled::Unload();
    frmMain::Unload();
    Db.reset();
    Ws.reset();
    return 0;
}
