#include "mainwindow/frmLang.h"

#include "common/globals.h"
#include "common/translation.h"
#include "data/infosettings.h"
#include "grid.h"
#include "mainwindow/frmMain.h"
#include "msgbox.h"
#include "system.h"

#include <QCloseEvent>
#include <QLabel>
#include <QTableView>

namespace {

constexpr int kRowHeight = 400;  // twips
constexpr const char *kNames[] = {"Czech", "English", "China"};

}  // namespace

frmLang &frmLang::Form()
{
    frmLang &w = formMadeBy([] { return new frmLang; });
    w.show();
    w.activateWindow();
    w.flg->setFocus();
    return w;
}

frmLang::frmLang()
    : SingleForm(frmMain::Loaded(), Qt::Tool | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("frmLang"));
    flg = new FlexGrid(this);
    flg->setObjectName(QStringLiteral("flg"));
    flg->setFont(QFont(QStringLiteral("Arial CE")));
    connect(flg, &FlexGrid::Click, this, &frmLang::flg_Click);
    connect(flg, &FlexGrid::KeyPress, this, &frmLang::flg_KeyPress);
    connect(flg, &FlexGrid::MouseMove, this, [this](int, int, float, float y) { flg_MouseMove(y); });
    connect(flg, &FlexGrid::LostFocus, this, &QWidget::close);
    // Loaded as it is made; each Form() after shows it again.
    Form_Load();
}

void frmLang::Form_Load()
{
    flg->setFixedRows(0);
    flg->setFixedCols(0);
    flg->setRows(0);
    flg->setCols(3);
    flg->setRowHeightMin(kRowHeight);
    flg->setColAlignment(0, 4);
    const int widths[] = {400, 550, 2000};
    for (int c = 0; c < 3; ++c)
        flg->setColWidth(c, widths[c]);
    const ImageList *flags = frmMain::Loaded() ? &frmMain::Loaded()->iml : nullptr;
    for (int r = 0; r < 3; ++r) {
        flg->AddItem(QStringLiteral("\t\t") + QLatin1String(kNames[r]));
        flg->setRow(r);
        flg->setCol(1);
        flg->setCellPictureAlignment(1);  // left, centred vertically
        if (flags)
            flg->setCellPicture(flags->ListImages(r + 1));
    }
    // The language the texts were loaded in, also for a setting outside 1 to 3.
    flg->setTextMatrix(NactenyJazyk(Jazyk) - 1, 0, QStringLiteral("X"));
    flg->setRow(0);
    flg->setCol(0);
    flg->setColSel(2);
    // The three rows fill the window: no scroll bars.
    QTableView *view = flg->view();
    view->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    view->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    const int frame = 2 * view->frameWidth();
    const QSize size(sys::toPixels(3000) + frame, sys::toPixels(3 * kRowHeight) + frame);
    flg->setGeometry(QRect(QPoint(0, 0), size));
    setFixedSize(size);
    if (const frmMain *main = frmMain::Loaded()) {
        const QRect outer = main->frameGeometry();
        move(outer.left() + outer.width() - sys::toPixels(3650), outer.top() + outer.height() - sys::toPixels(1750));
    }
}

void frmLang::flg_Click()
{
    Jazyk = QString::number(flg->Row() + 1);
    UlozInfo(QStringLiteral("Lang"), Jazyk);
    close();
}

void frmLang::flg_KeyPress(int &KeyAscii)
{
    if (KeyAscii == 13)
        flg_Click();
    else
        close();
}

void frmLang::flg_MouseMove(float y)
{
    const int row = std::min(int(y / kRowHeight), flg->Rows() - 1);
    flg->setRedraw(false);
    flg->setRow(row);
    flg->setCol(0);
    flg->setColSel(2);
    flg->setRedraw(true);
}

void frmLang::Form_Unload()
{
    // The box takes the focus from the grid, whose loss of it closes the window: the
    // closing already under way must not start again.
    m_unloading = true;
    if (!KonecProgramu)
        MsgBox(PrelozText(QStringLiteral("248,Provedené změny se projeví po restartu aplikace")), vbInformation);
    if (frmMain *main = frmMain::Loaded())
        main->Panel(2)->setPixmap(main->iml.ListImages(NactenyJazyk(Jazyk)));
    disconnect(flg, nullptr, this, nullptr);
}

void frmLang::closeEvent(QCloseEvent *event)
{
    // A close while its closing runs is refused here, not by the skeleton, for only
    // this window starts one: the restart notice of its closing takes the focus from
    // the grid, whose loss of the focus closes the window.
    if (m_unloading) {
        event->ignore();
        return;
    }
    SingleForm::closeEvent(event);
}
