// Figures for the preview window beside the overview: how often it loads while the user
// moves quickly through 50 rows (the overview's pause holds it back), and how long the
// window goes without answering while it shows a 4000 × 3000 JPEG fitted, at its natural
// size and after a resize, beside decoding that photo whole.
// bench_preview; each figure on a line of its own, "name: value unit".
#include "VarnexEditUni.h"
#include "common/globals.h"
#include "common/mainframe.h"
#include "data/infosettings.h"
#include "gencatalog.h"
#include "mainwindow/frmMain.h"
#include "overview/frmPrehled.h"
#include "msgbox.h"
#include "records/frmNahled.h"
#include "benchboxes.h"
#include "benchsupport.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QKeyEvent>
#include <QLabel>
#include <QMdiSubWindow>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace {

// Runs the event loop for `ms`.
void spin(int ms)
{
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

// The longest time the event loop went without turning while `work` ran and for `settle`
// ms after: a timer that should tick every 5 ms notes its longest gap.
double longestStall(const std::function<void()> &work, int settle)
{
    QElapsedTimer since;
    double longest = 0;
    QTimer tick;
    tick.setInterval(5);
    QObject::connect(&tick, &QTimer::timeout, [&] {
        longest = std::max(longest, msSince(since));
        since.restart();
    });
    tick.start();
    since.start();
    QTimer::singleShot(0, [&] { work(); });
    spin(settle);
    return std::max(longest, msSince(since) > 50 ? msSince(since) : 0.0);
}

void key(QWidget *view, int code)
{
    QKeyEvent press(QEvent::KeyPress, code, Qt::NoModifier);
    QKeyEvent release(QEvent::KeyRelease, code, Qt::NoModifier);
    QCoreApplication::sendEvent(view, &press);
    QCoreApplication::sendEvent(view, &release);
}

}  // namespace

int main(int argc, char **argv)
{
    qInstallMessageHandler(quietPlatform);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    endOnUnexpectedBoxes("bench_preview");

    QTemporaryDir dir;
    GenOptions o;
    o.records = 200;
    o.sections = 1;
    OpenProgramFolder(dir.path(), QStringLiteral(OSKAL_APP_DIR "/QIRData.upg"), o);
    GeneratePictures(*Db, dir.filePath(QStringLiteral("img")), 40, o.records, 1);

    frmMain &main = frmMain::Form();
    main.resize(1200, 900);
    main.show();
    UlozInfo(QStringLiteral("chkAllRecords"), QStringLiteral("false"));
    NastavAktualniSekci(1, QStringLiteral("SEKCE"));
    frmPrehled &overview = frmPrehled::Form();
    overview.Zobraz();
    overview.NactiData();
    VarnexEditUni &grid = *overview.findChild<VarnexEditUni *>(QStringLiteral("VEdit"));
    frmNahled &preview = frmNahled::Form();
    preview.Zobraz();
    spin(400);

    // The photo, as the attachment of the grid's second row.
    const QString photoPath = dir.filePath(QStringLiteral("img/velka.jpg"));
    WritePhoto(photoPath, 4000, 3000, 200);
    const QString key2 = grid.TMatrix(2, 0);
    Db->Execute(QStringLiteral("delete from Obrazky where Inter=") + key2);
    Db->Execute(QStringLiteral("insert into Obrazky (Inter, Poradi, Soubor, Popis) values (") + key2
                + QStringLiteral(", 1, 'velka.jpg', 'Velká')"));

    QAbstractItemView *view = qobject_cast<QAbstractItemView *>(
        grid.findChild<QWidget *>(QStringLiteral("flg"))->focusProxy());
    view->setFocus();

    // 50 rows down at a key repeat of 30 ms, then the pause.
    const int before = preview.PocetNacteni;
    for (int i = 0; i < 50; ++i) {
        key(view, Qt::Key_Down);
        spin(30);
    }
    spin(600);
    std::printf("bench_preview: %d records, the overview at row %d after 50 moves\n", o.records, grid.Row());
    std::printf("preview_loads_after_50_rows: %d loads\n", preview.PocetNacteni - before);
    std::printf("photo_file_size: %lld KiB\n", QFileInfo(photoPath).size() / 1024);

    // Back to the photo's row: from the key to the picture shown.
    while (grid.Row() > 2) {
        key(view, Qt::Key_Up);
        spin(2);
    }
    spin(500);
    key(view, Qt::Key_Up);
    key(view, Qt::Key_Down);
    const double fitted = longestStall([] {}, 700);
    if (preview.img->property("Tag").toString() != QLatin1String("velka.jpg")) {
        std::fprintf(stderr, "bench_preview: the photo is not shown\n");
        return 1;
    }
    print("preview_photo_fitted_longest_stall", fitted, "ms");

    QElapsedTimer t;
    t.start();
    preview.tmr_Timer();
    print("preview_photo_fitted_show", msSince(t), "ms");

    auto *frame = qobject_cast<QMdiSubWindow *>(preview.parentWidget());
    const double resized = longestStall([&] { frame->resize(frame->width() + 300, frame->height() + 200); }, 600);
    print("preview_photo_resize_longest_stall", resized, "ms");

    const double natural = longestStall([&] { preview.chkZoom->click(); }, 600);
    print("preview_photo_natural_size_longest_stall", natural, "ms");
    preview.chkZoom->click();

    t.restart();
    const QImage whole(photoPath);
    print("whole_photo_decode", msSince(t), "ms");
    t.restart();
    QImageReader scaled(photoPath);
    scaled.setScaledSize(QSize(400, 300));
    const QImage small = scaled.read();
    print("photo_decode_scaled_400x300", msSince(t), "ms");

    frmNahled::Unload();
    frmPrehled::Unload();
    frmMain::Unload();
    Db.reset();
    Ws.reset();
    return whole.isNull() || small.isNull() ? 1 : 0;
}
