#include "VarnexEditUni.h"

#include "grid.h"
#include "gridmodel.h"
#include "libroutines.h"
#include "placing.h"
#include "system.h"
#include "vberror.h"

#include <QAction>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTableView>

using namespace placing;

namespace {

constexpr int DataRowHeight = 300;
constexpr int PlaceholderHeight = 15;

}  // namespace

VarnexEditUni::VarnexEditUni(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("VarnexEditUni"));
    createChildren();
    createMenus();
    connectGrid();
    startUp();
    // Without a stored design every stored property takes its default.
    ReadProperties(QVariantMap());
    layOut();
}

VarnexEditUni::~VarnexEditUni()
{
    dropSorts();
    // The widths the user left behind; the grid is still alive here. When the host
    // window has closed for good they were written then, while its database was open.
    const bool closed = m_writtenAtClose && m_hostWindow && !m_hostWindow->isVisible();
    if (!closed)
        writeLayout();
}

void VarnexEditUni::createChildren()
{
    flg = new FlexGrid(this);
    flg->setObjectName(QStringLiteral("flg"));
    flg->setFixedRows(1);
    // The user sizes a column by dragging its header's border; a browse grid keeps the
    // width for the user (S_Grid).
    flg->setAllowUserResizing(flex::ResizeColumns);

    fraTxt = new QFrame(this);
    fraTxt->setObjectName(QStringLiteral("fraTxt"));
    txtEdit = new QLineEdit(fraTxt);
    txtEdit->setObjectName(QStringLiteral("txtEdit"));
    // The frame around it stands inside the cell's grid lines; the editor needs none.
    txtEdit->setFrame(false);
    tabulix::KeepCharactersWhole(txtEdit);
    fraTxt->hide();

    fraCmb = new QFrame(this);
    fraCmb->setObjectName(QStringLiteral("fraCmb"));
    cmbEdit = new QComboBox(fraCmb);
    cmbEdit->setObjectName(QStringLiteral("cmbEdit"));
    cmbEdit->setEditable(true);
    tabulix::KeepCharactersWhole(cmbEdit);
    fraCmb->hide();

    cmdAdd = new QPushButton(QStringLiteral("415,Přidat řádek"), this);
    cmdAdd->setObjectName(QStringLiteral("cmdAdd"));
    cmdAdd->resize(sys::toPixels(1500), sys::toPixels(345));
    cmdAdd->hide();
    cmdDel = new QPushButton(QStringLiteral("425,Zrušit řádek"), this);
    cmdDel->setObjectName(QStringLiteral("cmdDel"));
    cmdDel->resize(sys::toPixels(1500), sys::toPixels(345));
    cmdDel->hide();
    connect(cmdAdd, &QPushButton::clicked, this, [this] { Add(); });
    connect(cmdDel, &QPushButton::clicked, this, [this] { Delete(); });

    lblRecord = new QLabel(this);
    lblRecord->setObjectName(QStringLiteral("lblRecord"));
    lblRecord->resize(sys::toPixels(2500), sys::toPixels(255));
    lblSeek = new QLabel(this);
    lblSeek->setObjectName(QStringLiteral("lblSeek"));
    lblSeek->resize(sys::toPixels(1500), sys::toPixels(255));
    lblSeek->hide();
    lbl = new QLabel(this);
    lbl->setObjectName(QStringLiteral("lbl"));
    lbl->resize(sys::toPixels(3000), sys::toPixels(255));
}

void VarnexEditUni::createMenus()
{
    Popup_Fce = new QMenu(this);
    Popup_Fce->setObjectName(QStringLiteral("Popup_Fce"));
    const auto item = [this](const char *name, const QString &caption) {
        QAction *a = Popup_Fce->addAction(caption);
        a->setObjectName(QLatin1String(name));
        return a;
    };
    const auto separator = [this](const char *name) {
        QAction *a = Popup_Fce->addSeparator();
        a->setObjectName(QLatin1String(name));
        return a;
    };
    mnuPolozka = item("mnuPolozka", QStringLiteral("Položka"));
    m1 = separator("m1");
    mnuVyber = item("mnuVyber", QStringLiteral("368,Výběr"));
    mnuZmenVyber = item("mnuZmenVyber", QStringLiteral("426,Upravit výběr"));
    mnuZrusVyber = item("mnuZrusVyber", QStringLiteral("413,Zrušit výběr"));
    mnuSuma = item("mnuSuma", QStringLiteral("427,Suma"));
    mnuSortAsce = item("mnuSortAsce", QStringLiteral("428,Třídit A-Z"));
    mnuSortDesc = item("mnuSortDesc", QStringLiteral("429,Třídit Z-A"));
    m2 = separator("m2");
    mnuHideCol = item("mnuHideCol", QStringLiteral("430,Skrýt položku"));
    mnuSHcol = item("mnuSHcol", QStringLiteral("431,Nastavení přehledu"));
    m3 = separator("m3");
    mnuTisk = item("mnuTisk", QStringLiteral("432,Tisk přehledu"));
    mnuRefresh = item("mnuRefresh", QStringLiteral("433,Obnovení přehledu"));
    connect(mnuVyber, &QAction::triggered, this, [this] { mnuVyber_Click(false); });
    connect(mnuZmenVyber, &QAction::triggered, this, [this] { mnuVyber_Click(true); });
    connect(mnuZrusVyber, &QAction::triggered, this, [this] { mnuZrusVyber_Click(); });
    connect(mnuSuma, &QAction::triggered, this, [this] { mnuSuma_Click(); });
    connect(mnuHideCol, &QAction::triggered, this, [this] { mnuHideCol_Click(); });
    connect(mnuSHcol, &QAction::triggered, this, [this] { mnuSHcol_Click(); });
    connect(mnuSortAsce, &QAction::triggered, this, [this] { sortFromMenu(true); });
    connect(mnuSortDesc, &QAction::triggered, this, [this] { sortFromMenu(false); });
    connect(mnuTisk, &QAction::triggered, this, [this] { Tisk(); });
    connect(mnuRefresh, &QAction::triggered, this, [this] { Q_EMIT Refresh(); });

    Popup_Record = new QMenu(this);
    Popup_Record->setObjectName(QStringLiteral("Popup_Record"));
    // Item 0 exists from the start, with a caption that says no host menu was defined.
    QAction *first = Popup_Record->addAction(QStringLiteral("R"));
    first->setObjectName(QStringLiteral("Record"));
    connect(first, &QAction::triggered, this, [this] {
        qint16 index = 0;
        Q_EMIT Record(index);
    });
    m_Record.push_back(first);
}

// --- data access ---

qint32 VarnexEditUni::Col() const { return flg->Col(); }
void VarnexEditUni::Col(const qint32 &value) { flg->setCol(value); }
qint32 VarnexEditUni::Row() const { return flg->Row(); }
void VarnexEditUni::Row(const qint32 &value) { flg->setRow(value); }
qint32 VarnexEditUni::Rows() const { return flg->Rows(); }
qint32 VarnexEditUni::RowSel() const { return flg->RowSel(); }
void VarnexEditUni::RowSel(const qint32 &value) { flg->setRowSel(value); }
qint32 VarnexEditUni::TopRow() const { return flg->TopRow(); }
qint16 VarnexEditUni::FreezeCols() const { return qint16(flg->FixedCols()); }
void VarnexEditUni::FreezeCols(const qint16 &value) { flg->setFixedCols(value); }
qint32 VarnexEditUni::RowHeight(const qint32 &pRow) const { return flg->RowHeight(pRow); }
void VarnexEditUni::RowHeight(const qint32 &pRow, const qint32 &value) { flg->setRowHeight(pRow, value); }
qint32 VarnexEditUni::RowHeightMin() const { return flg->RowHeightMin(); }
void VarnexEditUni::RowHeightMin(const qint32 &value) { flg->setRowHeightMin(value); }
bool VarnexEditUni::DeletedRow(const qint32 &pRow) const { return flg->RowHeight(pRow) == 0; }

QString VarnexEditUni::TMatrix(const qint32 &pRow, const qint32 &pCol) const
{
    return flg->TextMatrix(pRow, pCol);
}

void VarnexEditUni::TMatrix(const qint32 &pRow, const qint32 &pCol, const QString &value)
{
    flg->setTextMatrix(pRow, pCol, value);
    SetImg(pRow, pCol);
}

QString VarnexEditUni::RData(const qint32 &pCol) const
{
    return flg->TextMatrix(flg->Row(), pCol);
}

void VarnexEditUni::RData(const qint32 &pCol, const QString &value)
{
    flg->setTextMatrix(flg->Row(), pCol, value);
}

QString VarnexEditUni::WhereText() const { return lbl->text(); }
void VarnexEditUni::WhereText(const QString &value)
{
    lbl->setText(value);
    placeStrip();
}

void VarnexEditUni::SortCol(const bool &pAsc, const qint32 &value)
{
    // The host's word outlasts the sorts it was written after, however late they end.
    if (m_sortJob)
        m_sortRunning.keepMarks = true;
    for (SortRequest &request : m_sortQueue)
        request.keepMarks = true;
    m_SortCol = value;
    m_SortAsc = pAsc;
}

qint32 VarnexEditUni::SortCol(const bool &) const { return m_SortCol; }

void VarnexEditUni::GridName(const QString &value)
{
    m_GridName = value;
    m_GridNameWork = value;
}

void VarnexEditUni::SetRecords(const QString &text)
{
    lblRecord->setText(text);
    lblRecord->show();
    // A longer caption takes more room: the labels right of it move on.
    placeStrip();
}

void VarnexEditUni::HideRow()
{
    flg->setRowHeight(flg->Row(), 0);
}

qint32 VarnexEditUni::FirstRow() const
{
    const int rows = flg->Rows();
    const int state = flg->Cols() - 1;
    for (int i = 1; i < rows; ++i)
        if (flg->TextMatrix(i, state) != QLatin1String("D"))
            return i;
    return 0;
}

// --- rows ---

void VarnexEditUni::AddData(const QString &row)
{
    m_AddError = false;
    const int before = flg->Rows();
    try {
        flg->AddItem(row);
        const int last = flg->Rows() - 1;
        flg->setRowHeight(last, DataRowHeight);
        // Without column attributes there is nothing to check the row against.
        if (!m_Atributy.Exists())
            throw VbError(9, QStringLiteral("Tabulix"), QStringLiteral("Subscript out of range"));
        for (int i : m_checkColumns)
            if (i < flg->Cols())
                setCheckCell(last, i, true);
        // The placeholder goes last, so that a failed row never takes it with it.
        if (flg->Rows() == 3 && flg->RowHeight(1) == PlaceholderHeight) {
            flg->RemoveItem(1);
            m_placeholder = false;
        }
    } catch (const VbError &) {
        // Only the row appended here is taken away again; the rows before it stay.
        try {
            if (flg->Rows() > before)
                flg->RemoveItem(flg->Rows() - 1);
        } catch (const VbError &) {
            // the grid's last row cannot go (a single fixed row): the error flag tells
        }
        m_AddError = true;
    }
}

Variant VarnexEditUni::Clear()
{
    // An edit still open belongs to rows that are going, and so does a sort under way:
    // the rows loaded next stand in the order they come in.
    ++m_fillGeneration;
    dropSorts();
    closeEditors();
    flg->setRows(2);
    flg->setRowHeight(0, DataRowHeight);
    flg->setRowHeight(1, PlaceholderHeight);
    // The placeholder is an empty row, not what row 1 held before: no text, no mark.
    flg->ClearRow(1);
    m_placeholder = true;
    return {};
}

Variant VarnexEditUni::Init(const qint32 &pCols, const qint32 &pFixedCols)
{
    ++m_fillGeneration;
    dropSorts();
    closeEditors();
    flg->setRows(2);
    flg->setRowHeight(0, DataRowHeight);
    flg->setRowHeight(1, DataRowHeight);
    flg->setFixedRows(1);
    // The user sizes a column by dragging its header's border; a browse grid keeps the
    // width for the user (S_Grid).
    flg->setAllowUserResizing(flex::ResizeColumns);
    m_placeholder = false;
    Cols(pCols);
    FreezeCols(qint16(pFixedCols));
    // Row 1 is an empty data row, whatever the grid held there before.
    flg->ClearRow(1);
    return {};
}

bool VarnexEditUni::LiveRow(const qint32 &pRow) const
{
    if (pRow < 1 || pRow >= flg->Rows() || flg->RowHeight(pRow) == 0)
        return false;
    return !(m_placeholder && pRow == 1);
}

QString VarnexEditUni::HostCaption() const
{
    const QWidget *host = hostWindow();
    return host ? host->windowTitle() : QString();
}

qint32 VarnexEditUni::LiveRows() const
{
    // Counted by the grid as heights change: the counter asks on every redraw.
    const int rows = flg->Rows();
    if (rows < 2)
        return 0;
    const GridModel &cells = *flg->model();
    int live = rows - 1 - (cells.zeroHeightRows() - (cells.rowHeight(0) == 0));
    if (m_placeholder && flg->RowHeight(1) > 0)
        --live;
    return live;
}

// --- modes and buttons ---

void VarnexEditUni::Edited(const quint8 &value)
{
    m_Edited = value;
    layOutIfPending();
    if (value == 2) {
        flg->setFocusRect(flex::FocusNone);
        flg->setFillStyle(flex::FillSingle);
        int sum = 0;
        for (int c = 0; c < flg->Cols(); ++c)
            sum += flg->ColWidth(c);
        flg->setSelectionMode(widthOf(flg) - 270 >= sum ? flex::SelectionByRow : flex::SelectionFree);
        txtEdit->setReadOnly(true);
        cmbEdit->setEnabled(false);
        cmdAdd->hide();
        cmdDel->hide();
    } else if (value == 1) {
        flg->setFocusRect(flex::FocusHeavy);
        flg->setFillStyle(flex::FillRepeat);
        flg->setSelectionMode(flex::SelectionFree);
        txtEdit->setReadOnly(false);
        cmbEdit->setEnabled(true);
        lblSeek->hide();
        mnuHideCol->setVisible(false);
        mnuSHcol->setVisible(false);
        m3->setVisible(false);
        refreshSeparatorM2();
    }
    // The counter and the filter text go right of the buttons (update mode) or make room
    // for the seek text (browse mode).
    placeStrip();
}

void VarnexEditUni::CmdAddVisible(const bool &value)
{
    cmdAdd->setVisible(value);
    layOutIfPending();
    layOutButtons();
}

void VarnexEditUni::CmdDelVisible(const bool &value)
{
    cmdDel->setVisible(value);
    layOutIfPending();
    layOutButtons();
}

void VarnexEditUni::layOutButtons()
{
    const int top = topOf(flg) + heightOf(flg) + 50;
    place(cmdAdd, leftOf(flg), top);
    place(cmdDel, cmdAdd->isVisibleTo(this) ? leftOf(cmdAdd) + widthOf(cmdAdd) + 150 : leftOf(flg), top);
    placeStrip();
}

void VarnexEditUni::FirstCol(const qint16 &value)
{
    m_FirstCol = value;
    flg->setCol(value);
    // Only as far as needed for the whole column to show; a visible column moves nothing.
    flg->ScrollIntoView(flg->Row(), value);
}

// --- menus and texts ---

Variant VarnexEditUni::SetMenu(const qint16 &pIndex, const QString &pCaption, const bool &pEnable)
{
    if (pIndex < 0)
        throw VbError(340, QStringLiteral("Tabulix"), QStringLiteral("Control array element does not exist"));
    if (pIndex > 0) {
        if (size_t(pIndex) < m_Record.size() && m_Record[size_t(pIndex)])
            throw VbError(360, QStringLiteral("Tabulix"), QStringLiteral("Object already loaded"));
        if (size_t(pIndex) >= m_Record.size())
            m_Record.resize(size_t(pIndex) + 1, nullptr);
        // Items stand in the order of their indexes, whatever order they were made in.
        QAction *before = nullptr;
        for (size_t k = size_t(pIndex) + 1; k < m_Record.size() && !before; ++k)
            before = m_Record[k];
        auto *action = new QAction(Popup_Record);
        action->setObjectName(QStringLiteral("Record"));
        Popup_Record->insertAction(before, action);
        const qint16 index = pIndex;
        connect(action, &QAction::triggered, this, [this, index] {
            qint16 chosen = index;
            Q_EMIT Record(chosen);
        });
        m_Record[size_t(pIndex)] = action;
    }
    QAction *action = m_Record[size_t(pIndex)];
    // A separator shows as a line alone; some styles would draw its caption beside it.
    const bool separator = pCaption == QLatin1String("-");
    action->setSeparator(separator);
    action->setText(separator ? QString() : pCaption);
    action->setEnabled(pEnable);
    return {};
}

void VarnexEditUni::SetLang(const MessageList *texts)
{
    tabulix::setTexts(texts);
    cmdAdd->setText(tabulix::PrelozText(QStringLiteral("415,Přidat řádek")));
    cmdDel->setText(tabulix::PrelozText(QStringLiteral("425,Zrušit řádek")));
    mnuVyber->setText(tabulix::PrelozText(QStringLiteral("368,Výběr")));
    mnuZmenVyber->setText(tabulix::PrelozText(QStringLiteral("426,Upravit výběr")));
    mnuZrusVyber->setText(tabulix::PrelozText(QStringLiteral("413,Zrušit výběr")));
    mnuSuma->setText(tabulix::PrelozText(QStringLiteral("427,Suma")));
    mnuSortAsce->setText(tabulix::PrelozText(QStringLiteral("428,Třídit A-Z")));
    mnuSortDesc->setText(tabulix::PrelozText(QStringLiteral("429,Třídit Z-A")));
    mnuHideCol->setText(tabulix::PrelozText(QStringLiteral("430,Skrýt položku")));
    mnuSHcol->setText(tabulix::PrelozText(QStringLiteral("431,Nastavení přehledu")));
    mnuTisk->setText(tabulix::PrelozText(QStringLiteral("432,Tisk přehledu")));
    mnuRefresh->setText(tabulix::PrelozText(QStringLiteral("433,Obnovení přehledu")));
}

void VarnexEditUni::EnableSelect(const bool &value)
{
    mnuVyber->setEnabled(value);
    mnuZrusVyber->setEnabled(value);
}

bool VarnexEditUni::EnableSelect() const { return mnuVyber->isEnabled(); }

void VarnexEditUni::EnableSort(const bool &value)
{
    mnuSortAsce->setEnabled(value);
    mnuSortDesc->setEnabled(value);
}

bool VarnexEditUni::EnableSort() const { return mnuSortAsce->isEnabled(); }

void VarnexEditUni::EnableHideCol(const bool &value)
{
    mnuHideCol->setVisible(value);
    refreshSeparatorM2();
}

void VarnexEditUni::EnableSetupCols(const bool &value)
{
    mnuSHcol->setVisible(value);
    refreshSeparatorM2();
}

void VarnexEditUni::refreshSeparatorM2()
{
    m2->setVisible(mnuHideCol->isVisible() || mnuSHcol->isVisible());
}

void VarnexEditUni::DefaultHeader(ColumnTable &aDefault)
{
    Q_EMIT DefaultHeaderEvent(aDefault);
}
