// Presentation: the record counter, highlighting, check marks, the grid's look and the
// placing of the grid, buttons and labels.
#include "VarnexEditUni.h"

#include "grid.h"
#include "libroutines.h"
#include "placing.h"
#include "system.h"

#include <QLabel>
#include <QPainter>
#include <QPushButton>

using tabulix::PrelozText;

using namespace placing;

namespace {

constexpr int White = 0xFFFFFF;

}  // namespace

bool VarnexEditUni::Redraw() const { return flg->Redraw(); }

void VarnexEditUni::Redraw(const bool &value)
{
    flg->setRedraw(value);
    if (flg->Redraw())
        refreshCounter();
}

QString VarnexEditUni::CounterText(const qint32 &n, const qint32 &t)
{
    // 1 záznam, 5 and more záznamů, every other count (0 too) záznamy.
    QString word;
    if (n == 1)
        word = PrelozText(QStringLiteral("453,záznam"));
    else if (n >= 5)
        word = PrelozText(QStringLiteral("305,záznamů"));
    else
        word = PrelozText(QStringLiteral("452,záznamy"));
    QString caption = QString::number(n) + QLatin1Char(' ') + word;
    if (t > n) {
        const QString preposition =
            (t > 4 || t == 0) ? PrelozText(QStringLiteral("465,z")) : PrelozText(QStringLiteral("466,ze"));
        caption += QLatin1Char(' ') + preposition + QLatin1Char(' ') + QString::number(t);
    }
    return caption;
}

void VarnexEditUni::refreshCounter()
{
    SetRecords(CounterText(LiveRows(), m_RecordSetRows));
}

Variant VarnexEditUni::HighlightRow(const qint32 &pRow, const Variant &pColor)
{
    if (pRow > 0)
        flg->setRow(pRow);
    flg->setCol(flg->LeftCol());
    flg->setFocusRect(flex::FocusNone);
    flg->setColSel(flg->Cols() - 1);
    flg->setBackColorSel(pColor.toLong());
    return {};
}

Variant VarnexEditUni::HighlightCols(const qint32 &pStartCol, const qint32 &pEndCol, const Variant &pColor)
{
    const int current = flg->Col();
    const int first = pStartCol < 1 ? current : pStartCol;
    const int last = pEndCol < 1 ? current : pEndCol;
    const int colour = pColor.toLong();
    for (int k = first; k <= last; ++k) {
        flg->setCol(k);
        flg->setCellBackColor(colour);
    }
    flg->setCol(current);
    return {};
}

bool VarnexEditUni::isCheckColumn(int column) const
{
    if (!m_Atributy.Exists() || column < 0 || column > m_Atributy.UBound())
        return false;
    const Variant &type = m_Atributy(AttrType, column);
    return type.IsString() && type.stringValue() == QLatin1String("Z");
}

void VarnexEditUni::setCheckCell(int row, int column, bool hideText)
{
    m_savedRow = row;
    m_savedCol = column;
    // Moves made to dress a cell are no moves of the user's: no cell events for them.
    ++m_quiet;
    flg->setRow(row);
    flg->setCol(column);
    --m_quiet;
    // The mark belongs to this cell alone: with whole-selection fill and whole-row
    // selection the grid would give it to every cell of the row.
    const int fill = flg->FillStyle();
    flg->setFillStyle(flex::FillSingle);
    if (flg->TextMatrix(row, column) == QLatin1String("A")) {
        flg->setCellPicture(CheckMark());
        flg->setCellPictureAlignment(flex::AlignCenterCenter);
    } else {
        flg->setCellPicture(QPixmap());
    }
    if (hideText) {
        flg->setCellForeColor(White);
        flg->setCellFontName(QStringLiteral("Arial"));
        flg->setCellFontSize(1);
    }
    flg->setFillStyle(fill);
}

void VarnexEditUni::SetImg(const qint32 &pRow, const qint32 &pCol)
{
    if (!isCheckColumn(pCol))
        return;
    markCells(pRow, pRow, pCol);
}

void VarnexEditUni::ResetImg(const qint32 &pCol)
{
    if (!isCheckColumn(pCol))
        return;
    markCells(0, flg->Rows() - 1, pCol);
}

void VarnexEditUni::markCells(int firstRow, int lastRow, int column)
{
    flg->setFocusRect(flex::FocusHeavy);
    flg->setFillStyle(flex::FillRepeat);
    const int row = flg->Row();
    const int col = flg->Col();
    for (int r = firstRow; r <= lastRow; ++r)
        setCheckCell(r, column, false);
    ++m_quiet;
    flg->setRow(row);
    flg->setCol(col);
    --m_quiet;
    if (m_Edited == 2) {
        flg->setFocusRect(flex::FocusNone);
        flg->setFillStyle(flex::FillSingle);
    }
}

QPixmap VarnexEditUni::CheckMark()
{
    static const QPixmap mark = [] {
        QPixmap pm(16, 16);
        pm.fill(Qt::transparent);
        QPainter p(&pm);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(QColor(0, 110, 0), 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPolyline(QPolygonF({QPointF(3, 8.5), QPointF(6.5, 12), QPointF(13, 4)}));
        return pm;
    }();
    return mark;
}

// --- the grid's look, passed through ---

VeMerge VarnexEditUni::MergeCells() const { return VeMerge(flg->MergeCells()); }
void VarnexEditUni::MergeCells(const VeMerge &value) { flg->setMergeCells(value); }
bool VarnexEditUni::MergeCol(const qint32 &Index) const { return flg->MergeCol(Index); }
void VarnexEditUni::MergeCol(const qint32 &Index, const bool &value) { flg->setMergeCol(Index, value); }
bool VarnexEditUni::MergeRow(const qint32 &Index) const { return flg->MergeRow(Index); }
void VarnexEditUni::MergeRow(const qint32 &Index, const bool &value) { flg->setMergeRow(Index, value); }
bool VarnexEditUni::WordWrap() const { return flg->WordWrap(); }
void VarnexEditUni::WordWrap(const bool &value) { flg->setWordWrap(value); }
qint32 VarnexEditUni::FillStyle() const { return flg->FillStyle(); }
void VarnexEditUni::FillStyle(const qint32 &value)
{
    flg->setFillStyle(value);
    m_fillStyleByHost = true;
}
qint32 VarnexEditUni::FocusRect() const { return flg->FocusRect(); }
void VarnexEditUni::FocusRect(const qint32 &value) { flg->setFocusRect(value); }
QFont VarnexEditUni::Font() const { return flg->Font(); }
void VarnexEditUni::Font(const QFont &value) { flg->setFont(value); }

// --- placing ---

void VarnexEditUni::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    layOut();
}

void VarnexEditUni::layOutIfPending()
{
    // A hidden host gets no resize event until it is shown; a host that sets up in its
    // load would otherwise measure and place against the size the control was born with.
    if (testAttribute(Qt::WA_PendingResizeEvent))
        layOut();
}

void VarnexEditUni::layOut()
{
    const int h = sys::toTwips(height()) - 40;
    const int w = sys::toTwips(width()) - 50;
    place(flg, 60, 60);
    flg->resize(sys::toPixels(std::max(w - 60, 0)), sys::toPixels(std::max(h - 465, 0)));
    const int buttonTop = topOf(flg) + heightOf(flg) + 35;
    place(cmdAdd, leftOf(flg), buttonTop);
    place(cmdDel, leftOf(cmdAdd) + widthOf(cmdAdd) + 150, buttonTop);
    placeStrip();
    settleGridName();
}

void VarnexEditUni::placeStrip()
{
    // The strip under the grid, left to right: the buttons that show, the record
    // counter, the seek text (browse mode) and the filter text, each in a place of its
    // own. The counter sits right of the buttons; placing it at the grid's left would
    // draw it over the Add button. The seek text has its own place right of the counter;
    // placing both at one spot would print the one over the other. Every resize, mode
    // change and change of the buttons comes through here, so none of them puts the
    // counter back at the grid's left.
    const int top = topOf(cmdAdd) + 60;
    int left = leftOf(flg);
    // Update mode keeps the buttons' places even while a button is hidden, so that the
    // counter stays put when the host shows it.
    for (const QPushButton *button : {cmdAdd, cmdDel})
        if (m_Edited == 1 || button->isVisibleTo(this))
            left = std::max(left, leftOf(button) + widthOf(button) + 100);
    // A label is as wide as its design, or as its text where that is longer.
    const auto fit = [](QLabel *label, int designTwips) {
        label->resize(std::max(sys::toPixels(designTwips), label->sizeHint().width()), label->height());
    };
    fit(lblRecord, 2500);
    place(lblRecord, left, top);
    left = leftOf(lblRecord) + widthOf(lblRecord) + 100;
    fit(lblSeek, 1500);
    place(lblSeek, left, top);
    // Update mode has no seek: the filter text follows the counter there.
    if (m_Edited != 1)
        left = leftOf(lblSeek) + widthOf(lblSeek) + 100;
    place(lbl, left, top);
    const int lblWidth = widthOf(flg) - leftOf(lbl);
    if (lblWidth > 0)
        lbl->resize(sys::toPixels(lblWidth), lbl->height());
    // A selection's text cut at the grid's edge shows whole where the mouse rests on it.
    const bool cut = lbl->fontMetrics().horizontalAdvance(lbl->text()) > lbl->contentsRect().width();
    lbl->setToolTip(cut ? lbl->text() : QString());
}

void VarnexEditUni::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    watchHostWindow();
}
