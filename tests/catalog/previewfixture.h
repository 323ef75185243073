#pragma once

// A small catalog with attachments of every kind, real picture files in img/, and the
// overview and preview windows over it, for the tests of the record windows.

#include "VarnexEditUni.h"
#include "catalogfixture.h"
#include "common/mainframe.h"
#include "common/translation.h"
#include "mainwindow/frmMain.h"
#include "overview/frmPrehled.h"
#include "process.h"
#include "records/frmNahled.h"
#include "overviewgrid.h"
#include "data/currentoverview.h"
#include "modaldriver.h"

#include <QAbstractItemView>
#include <QDialog>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QTimer>
#include <functional>

namespace testsupport {

// A 4 × 3 GIF: Qt reads GIF but does not write it.
inline const QByteArray &tinyGif()
{
    static const QByteArray gif = QByteArray::fromHex(
        "47494638396104000300f00000ff000000000021f90400000000002c0000000004000300000203848f56003b");
    return gif;
}

// A JPEG of the size, a gradient, so that a wrong crop or scale shows.
inline void writeJpeg(const QString &path, QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    QPainter p(&image);
    QLinearGradient g(0, 0, size.width(), size.height());
    g.setColorAt(0, Qt::darkBlue);
    g.setColorAt(1, Qt::yellow);
    p.fillRect(image.rect(), g);
    p.end();
    QVERIFY(image.save(path, "JPG"));
}

inline void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// Records the files the desktop was asked to open, for as long as it lives.
class RecordedOpener
{
public:
    RecordedOpener()
    {
        m_previous = process::setOpener([this](const QString &file, const QString &parameters, const QString &) {
            opened << file + QLatin1Char('|') + parameters;
            return int(process::Started);
        });
    }
    ~RecordedOpener() { process::setOpener(m_previous); }
    RecordedOpener(const RecordedOpener &) = delete;
    RecordedOpener &operator=(const RecordedOpener &) = delete;
    QStringList opened;

private:
    process::Opener m_previous;
};

// The catalog of the folder, open (CatalogFolder), filled: section 1 "Knihy" showing the
// title. Grid rows in order:
//   1  key 11 "A bez příloh", note "první poznámka", no attachment
//   2  key 12 "B tři přílohy": 1 foto.JPG "2,5 mm", 2 plan.PDF "Plán & mapa", 3 SCAN.GIF "Sken"
//   3  key 13 "C vadné": 1 chybi.jpg (no file), 2 "../../etc/passwd", 3 rozbity.jpg (no picture)
inline void attachmentCatalog(const ProgramFolder &folder)
{
    if (!Db)
        return;
    defineSection(1, QStringLiteral("Knihy"), {{"Název", "C"}});
    insertRows(QStringLiteral("Katalog"), QStringLiteral("Inter, Pol1c, Poznamka, Sekce"),
               {"11, 'A bez příloh', 'první poznámka', 1", "12, 'B tři přílohy', 'druhá', 1", "13, 'C vadné', null, 1"});
    insertRows(QStringLiteral("Obrazky"), QStringLiteral("Inter, Poradi, Soubor, Popis"),
               {"12, 1, 'foto.JPG', '2,5 mm'", "12, 2, 'plan.PDF', 'Plán & mapa'", "12, 3, 'SCAN.GIF', 'Sken'",
                "13, 1, 'chybi.jpg', 'Chybí'", "13, 2, '../../etc/passwd', 'Zlý'", "13, 3, 'rozbity.jpg', 'Rozbitý'"});
    writeJpeg(folder.file(QStringLiteral("img/foto.JPG")), QSize(300, 200));
    writeFile(folder.file(QStringLiteral("img/SCAN.GIF")), tinyGif());
    writeFile(folder.file(QStringLiteral("img/plan.PDF")), "%PDF-1.4\n");
    writeFile(folder.file(QStringLiteral("img/rozbity.jpg")), "no picture here");
}

// The main window shown, with the overview of section 1 loaded.
inline frmPrehled &showOverview()
{
    frmMain &main = frmMain::Form();
    NastavAktualniSekci(1, QStringLiteral("SEKCE 1"));
    main.NastavMenu();
    main.show();
    frmPrehled &overview = frmPrehled::Form();
    overview.Zobraz();
    overview.NactiData();
    return overview;
}

// The grid's view, where the user's keys go.
inline QAbstractItemView *gridView(frmPrehled &overview)
{
    auto *grid = overviewGrid(overview)->findChild<QWidget *>(QStringLiteral("flg"));
    return grid ? qobject_cast<QAbstractItemView *>(grid->focusProxy()) : nullptr;
}

// Moves the overview to grid row `row` with the arrow keys, as the user does.
inline void goToRow(frmPrehled &overview, int row)
{
    QAbstractItemView *view = gridView(overview);
    QVERIFY(view);
    view->setFocus();
    while (overviewGrid(overview)->Row() > row)
        QTest::keyClick(view, Qt::Key_Up);
    while (overviewGrid(overview)->Row() < row)
        QTest::keyClick(view, Qt::Key_Down);
}

}  // namespace testsupport

namespace testsupport {

// The row reached with the arrow keys, then double clicked, as the user opens a detail.
inline void doubleClickRow(frmPrehled &overview, int row)
{
    QAbstractItemView *view = gridView(overview);
    QVERIFY(view);
    QVERIFY(QTest::qWaitForWindowExposed(view));
    goToRow(overview, row);
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(view->model()->index(row, 1)).center());
}

}  // namespace testsupport

namespace testsupport {

// The overview on grid row `row` and the preview open beside it, loaded for that row.
inline frmNahled &previewOn(int row)
{
    frmPrehled &overview = showOverview();
    frmNahled &preview = frmNahled::Form();
    preview.Zobraz();
    [&] { QVERIFY(QTest::qWaitForWindowExposed(&preview)); }();
    goToRow(overview, row);
    const int loads = preview.PocetNacteni;
    [&] { QTRY_VERIFY(preview.PocetNacteni > loads); }();
    return preview;
}

}  // namespace testsupport

namespace testsupport {

// A click where the user's pointer is: the event goes to the widget that the window shows
// at that point, as the window system delivers it, not to a widget chosen by the test.
inline void clickAt(QWidget *window, QWidget *over, Qt::MouseButton button = Qt::LeftButton, bool pressOnly = false)
{
    const QPoint pos = over->mapTo(window, over->rect().center());
    QWidget *target = window->childAt(pos);
    if (!target)
        target = window;
    if (pressOnly)
        QTest::mousePress(target, button, {}, target->mapFrom(window, pos));
    else
        QTest::mouseClick(target, button, {}, target->mapFrom(window, pos));
}

}  // namespace testsupport
