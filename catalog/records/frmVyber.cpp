#include "records/frmVyber.h"

#include "common/errorreport.h"
#include "common/globals.h"
#include "common/translation.h"
#include "common/utility.h"
#include "dao.h"
#include "data/currentoverview.h"
#include "data/infosettings.h"
#include "data/overviewquery.h"
#include "data/selectioncondition.h"
#include "msgbox.h"
#include "records/polebox.h"
#include "system.h"
#include "variant.h"
#include "vberror.h"
#include "waitcursor.h"

#include <QApplication>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

namespace {

// The design, in twips.
constexpr int kRowStep = 360;
constexpr int kFirstTop = 235;
constexpr int kLabelLeft = 90;
constexpr int kLabelHeight = 270;
constexpr int kBoxHeight = 330;
constexpr int kBoxWidth = 2500;
// The rows' area begins half a gap above the first box, so that whichever row the
// scrolling brings to the top stands where the first one did, and holds whole rows only.
constexpr int kViewTop = kFirstTop - 60 - (kRowStep - kBoxHeight) / 2;
constexpr int kStripHeight = 480;
constexpr int kButtonTop = 60;
constexpr int kButtonHeight = 360;
constexpr int kButtonLeft = 20;  // as far from the left edge as the buttons end from the right
// The layout's measures were taken on the old window's outer size: its height less the
// frame correction is the inner height and 405 more, its width the inner width and
// 135 more (the frame's borders and a margin).
constexpr int kOuterHeight = 405;
constexpr int kOuterWidth = 135;

int px(int twips)
{
    return sys::toPixels(twips);
}

int twips(int pixels)
{
    return sys::toTwips(pixels);
}

int placement(const char *key, const char *defaultValue)
{
    return px(int(vbVal(NactiInfo(QLatin1String(key), QLatin1String(defaultValue)))));
}

}  // namespace

frmVyber::frmVyber()
{
    setObjectName(QStringLiteral("frmVyber"));
    setWindowTitle(QStringLiteral("55,Definice podmínky výběru"));

    m_oblast = new QWidget(this);
    m_oblast->setObjectName(QStringLiteral("oblast"));
    fraVyber = new QWidget(m_oblast);
    fraVyber->setObjectName(QStringLiteral("fraVyber"));
    fraVyber->move(0, 0);
    vsb = new QScrollBar(Qt::Vertical, this);
    vsb->setObjectName(QStringLiteral("vsb"));
    vsb->setSingleStep(1);
    vsb->setPageStep(3);
    vsb->setMinimum(0);
    vsb->setMaximum(0);
    vsb->hide();
    connect(vsb, &QScrollBar::valueChanged, this, &frmVyber::vsb_Change);

    pic = new QWidget(this);
    pic->setObjectName(QStringLiteral("pic"));
    cmdVyber = new QPushButton(QStringLiteral("372,Vybrat"), pic);
    cmdVyber->setObjectName(QStringLiteral("cmdVyber"));
    cmdZrusVyber = new QPushButton(QStringLiteral("413,Zrušit výběr"), pic);
    cmdZrusVyber->setObjectName(QStringLiteral("cmdZrusVyber"));
    for (QPushButton *b : {cmdVyber, cmdZrusVyber})
        b->setAutoDefault(false);
    connect(cmdVyber, &QPushButton::clicked, this, &frmVyber::cmdVyber_Click);
    connect(cmdZrusVyber, &QPushButton::clicked, this, &frmVyber::cmdZrusVyber_Click);
    // The wheel over the rows scrolls them, never a box's value.
    m_oblast->installEventFilter(this);
    fraVyber->installEventFilter(this);

    lbl.push_back(nullptr);
    cmb.push_back(nullptr);
    m_sloupce.assign(1, SloupecPrehledu());
    PrelozFormular(*this, 0);
    rozvrzeni();
}

frmVyber::~frmVyber() = default;

void frmVyber::Zobraz()
{
    ZobrazVOblasti(QRect(placement("VyberWindowLeft", "6000"), placement("VyberWindowTop", "3750"),
                         placement("VyberWindowWidth", "5800"), placement("VyberWindowHeight", "3900")));
}

void frmVyber::Form_Unload()
{
    QWidget *frame = qobject_cast<QMdiSubWindow *>(parentWidget());
    if (frame && !frame->isMinimized() && !frame->isMaximized()) {
        UlozInfo(QStringLiteral("VyberWindowTop"), QString::number(twips(frame->y())));
        UlozInfo(QStringLiteral("VyberWindowLeft"), QString::number(twips(frame->x())));
        UlozInfo(QStringLiteral("VyberWindowWidth"), QString::number(twips(frame->width())));
        UlozInfo(QStringLiteral("VyberWindowHeight"), QString::number(twips(frame->height())));
    }
    m_rozmisteno = false;
}

void frmVyber::odstranRadky()
{
    for (size_t i = lbl.size() - 1; i >= 1; --i) {
        delete lbl[i];
        delete cmb[i];
    }
    lbl.resize(1);
    cmb.resize(1);
    m_sloupce.assign(1, SloupecPrehledu());
    m_rozmisteno = false;
    m_seznam = 0;
    m_vynechany = 0;
    m_podminka.clear();
}

void frmVyber::NactiData()
{
    odstranRadky();
    const std::optional<qint32> section = AktualniSekce();
    if (section) {
        // The overview's own descriptors of the section: row i is overview column i, and
        // only fields of the catalog go into the conditions.
        m_sloupce = SestavDotazPrehledu(*section, NactiDefinice(*Db, *section)).Sloupce;
        for (size_t i = 1; i < m_sloupce.size(); ++i) {
            auto *caption = new QLabel(m_sloupce[i].Titulek, fraVyber);
            caption->setObjectName(QStringLiteral("lbl"));
            caption->setProperty("userText", true);  // the user's caption, no message
            caption->setTextFormat(Qt::PlainText);
            lbl.push_back(caption);
            // No limit of its own: the characters go in through the length rule all the same.
            const int row = int(i);
            auto *box = NovyPoleBox(*fraVyber, m_sloupce[i].Typ, 0, *this, [this, row](PoleBox &) { cmb_DropDown(row); });
            caption->installEventFilter(this);
            cmb.push_back(box);
        }
        RozmistiRadky();
    }
    rozvrzeni();
    // The rows wait for an overview to narrow.
    fraVyber->setEnabled(PrehledOtevren());
    // The window was shown before it had rows, and its frame keeps the focus in the
    // button it gave it then: the first row is where the user types when he comes in.
    if (cmb.size() > 1 && isAncestorOf(QApplication::focusWidget()))
        cmb[1]->setFocus();
}

void frmVyber::RozmistiRadky()
{
    const QFontMetrics metrics(font());
    const int n = int(lbl.size()) - 1;
    for (int i = 1; i <= n; ++i) {
        QLabel *caption = lbl[size_t(i)];
        const int width = twips(metrics.horizontalAdvance(caption->text()));
        caption->setGeometry(px(kLabelLeft), px((i - 1) * kRowStep + kFirstTop), px(width + 30), px(kLabelHeight));
        caption->show();
        m_sirkaPopisku = std::max(m_sirkaPopisku, width);
    }
    QWidget *previous = nullptr;
    for (int i = 1; i <= n; ++i) {
        PoleBox *box = cmb[size_t(i)];
        box->setGeometry(px(m_sirkaPopisku + kLabelLeft + 100), px((i - 1) * kRowStep + kFirstTop - 60), px(kBoxWidth),
                         px(kBoxHeight));
        box->show();
        box->raise();
        if (previous)
            setTabOrder(previous, box);
        previous = box;
    }
    for (QWidget *button : {static_cast<QWidget *>(cmdVyber), static_cast<QWidget *>(cmdZrusVyber)}) {
        if (previous)
            setTabOrder(previous, button);
        previous = button;
    }
    const int lastTop = n > 0 ? (n - 1) * kRowStep + kFirstTop : 0;
    fraVyber->setGeometry(0, 0, fraVyber->width(), px(lastTop + 350));
    fraVyber->show();
    m_rozmisteno = true;
}

void frmVyber::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    rozvrzeni();
}

void frmVyber::rozvrzeni()
{
    // The Part's measures: H - K and W of the old outer window, from the inner size here.
    const int H = twips(height()) + kOuterHeight;
    const int W = twips(width()) + kOuterWidth;
    const int scrollWidth = twips(vsb->sizeHint().width());

    pic->setGeometry(0, height() - px(kStripHeight), width(), px(kStripHeight));
    // A row cut at an edge would be scrolled into sight by a click on it, moving the
    // rows under the mouse.
    const int shown = std::max(0, height() - px(kStripHeight) - px(kViewTop)) / px(kRowStep);
    m_oblast->setGeometry(0, px(kViewTop), width(), shown * px(kRowStep));

    // Measures that fall below zero in a window made smaller than its strips are clamped.
    const int scrollHeight = std::max(0, H - kStripHeight - 400 - 180);
    vsb->setGeometry(px(W - 135 - scrollWidth), px(90), px(scrollWidth), px(scrollHeight));
    const int fit = int(std::lround(double(H - 235))) / kRowStep;
    const int rows = int(lbl.size());  // PocetSloupcu: the rows and 1
    // However the window's height falls, the last row can be scrolled into sight.
    vsb->setMaximum(std::max({0, rows - (fit - 1), rows - 1 - shown}));
    vsb->setVisible(vsb->maximum() >= 1);
    vsb->raise();
    vsb_Change(vsb->value());

    const int buttonWidth = std::max(0, (W - 135 - 75) / 2);
    cmdVyber->setGeometry(px(kButtonLeft), px(kButtonTop), px(buttonWidth), px(kButtonHeight));
    cmdZrusVyber->setGeometry(px(kButtonLeft + buttonWidth + 35), px(kButtonTop), px(buttonWidth), px(kButtonHeight));

    if (!m_rozmisteno)
        return;
    int widest = 0;
    for (size_t i = 1; i < cmb.size(); ++i) {
        const int left = twips(cmb[i]->x());
        const int width = std::max(500, W - scrollWidth - 250 - left);
        cmb[i]->resize(px(width), cmb[i]->height());
        widest = std::max(widest, width);
    }
    fraVyber->resize(px(m_sirkaPopisku + kLabelLeft + 100 + widest + 90), fraVyber->height());
}

void frmVyber::vsb_Change(int value)
{
    // The frame's top, in the window, is the value's whole rows above the window's top.
    fraVyber->move(0, -px(kViewTop + value * kRowStep));
}

// A row that the focus reaches out of sight is scrolled into the window by whole rows.
void frmVyber::ukazRadek(int i)
{
    const int shown = m_oblast->height() / px(kRowStep);
    if (!vsb->isVisible() || shown < 1 || i < 1 || i >= int(cmb.size()))
        return;
    int value = vsb->value();
    if (i - 1 < value)
        value = i - 1;
    else if (i > value + shown)
        value = i - shown;
    vsb->setValue(std::clamp(value, 0, vsb->maximum()));
}

void frmVyber::zamerRadek(int i)
{
    if (i >= 1 && i < int(cmb.size()))
        cmb[size_t(i)]->setFocus();
}

bool frmVyber::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Wheel) {
        kolecko(*static_cast<QWheelEvent *>(event));
        return true;
    }
    if (event->type() == QEvent::FocusIn) {
        for (size_t i = 1; i < cmb.size(); ++i)
            if (watched == cmb[i] || watched == cmb[i]->lineEdit()) {
                cmb_GotFocus(int(i));
                break;
            }
    }
    return MdiForm<frmVyber>::eventFilter(watched, event);
}

void frmVyber::wheelEvent(QWheelEvent *event)
{
    // Between the rows' area and the buttons too.
    kolecko(*event);
}

void frmVyber::kolecko(const QWheelEvent &event)
{
    if (vsb->isVisible())
        vsb->setValue(vsb->value() - event.angleDelta().y() / 120);
}

void frmVyber::cmb_GotFocus(int i)
{
    // Entering another row may change the conditions its list is made under: the next
    // list opened is loaded afresh. The row whose list is loaded keeps it.
    if (i != m_seznam)
        m_seznam = 0;
    ukazRadek(i);
}

std::vector<RadekVyberu> frmVyber::radky() const
{
    std::vector<RadekVyberu> rows;
    for (size_t i = 1; i < cmb.size(); ++i)
        rows.push_back({cmb[i]->currentText(), m_sloupce[i].Typ, m_sloupce[i].Jmeno});
    return rows;
}

bool frmVyber::ProvedVyber(bool run)
{
    const std::vector<RadekVyberu> rows = radky();
    if (const std::optional<ChybaVyberu> doubled = KontrolujVyraz(rows)) {
        MsgBox(PrelozText(QStringLiteral("343,Údaj obsahuje nepovolený výraz:")) + QLatin1Char(' ') + doubled->Dvojice,
               vbExclamation, windowTitle());
        zamerRadek(doubled->Radek);
        return false;
    }
    std::optional<WaitCursor> wait(std::in_place);
    const PodminkaVyberu built = SestavPodminku(rows, m_vynechany);
    m_podminka = built.Podminka;
    if (built.Chyba && built.Chyba->Duvod == ChybaVyberu::Konvence) {
        wait.reset();
        MsgBox(PrelozText(QStringLiteral("342,Údaj obsahuje nepovolené konvence.")), vbInformation, windowTitle());
        zamerRadek(built.Chyba->Radek);
        return false;
    }
    if (!run)
        return true;

    const QString refused = PrelozText(QStringLiteral("97,Chybně zadaná hodnota pro výběr."));
    if (built.Chyba) {  // a number or a date that is none never reaches the database
        Pipni(400, 150);
        wait.reset();
        MsgBox(refused, vbExclamation, windowTitle());
        return false;
    }
    if (!PrehledOtevren())
        return false;
    const QPointer<frmVyber> self(this);
    const QString condition = m_podminka;
    // Once loaded, the condition and its readable text are the overview's, in force.
    const QString text = condition.isEmpty() ? QString() : CitelnyText(condition, m_sloupce);
    // The overview lets the window's events run while it fills: this window may go.
    const AktualniPrehled::Vyber outcome = Prehled().ZobrazVyber(condition, text);
    if (!self)
        return false;
    switch (outcome) {
    case AktualniPrehled::Vyber::Odmitnuto:
        Pipni(400, 150);
        wait.reset();
        MsgBox(refused, vbExclamation, windowTitle());
        return false;
    case AktualniPrehled::Vyber::Zamceno:
        // The condition is sound; the catalog could not be read just now.
        Pipni(400, 150);
        wait.reset();
        MsgBox(TextZamceno(), vbExclamation, windowTitle());
        return false;
    case AktualniPrehled::Vyber::Nic:
        // The overview keeps its records, its condition and its readable text.
        Pipni(400, 150);
        wait.reset();
        MsgBox(PrelozText(QStringLiteral("371,Výběru neodpovídá žádný záznam.")), vbInformation, windowTitle());
        return false;
    case AktualniPrehled::Vyber::Nacteno:
        break;
    }
    return true;
}

void frmVyber::cmdVyber_Click()
{
    if (!PrehledOtevren())
        return;
    m_vynechany = 0;
    ProvedVyber(true);
    Pipni(400, 150);
    Prehled().ZamerPohled();
}

void frmVyber::cmdZrusVyber_Click()
{
    if (!PrehledOtevren())
        return;
    for (size_t i = 1; i < cmb.size(); ++i)
        cmb[i]->setEditText(QString());
    m_seznam = 0;
    m_vynechany = 0;
    const QPointer<frmVyber> self(this);
    ProvedVyber(true);
    Pipni(400, 150);
    if (self)
        m_podminka.clear();
    // Whatever the refill did, no condition stays behind for a move or delete to find.
    Prehled().ZrusPodminku();
    Prehled().ZamerPohled();
}

void frmVyber::cmb_DropDown(int i)
{
    if (i == m_seznam || i < 1 || i >= int(cmb.size()))
        return;
    const QPointer<frmVyber> self(this);
    m_vynechany = i;
    // A refused check keeps the condition built before; a malformed term keeps the rows
    // before it; a row with a value that is none is left out.
    ProvedVyber(false);
    if (!self)
        return;
    const std::optional<qint32> section = AktualniSekce();
    if (!section)
        return;
    PoleBox *box = cmb[size_t(i)];
    const SloupecPrehledu &column = m_sloupce[size_t(i)];
    QStringList values;
    {
        const WaitCursor wait;
        try {
            for (auto rs = Db->OpenRecordset(DotazSeznamuVyberu(*section, column, m_podminka)); !rs->Eof(); rs->MoveNext())
                values << PolozkaSeznamuVyberu((*rs)[0], column.Typ);
        } catch (const VbError &) {
            // The list stays as it was: the condition is checked again on applying.
            values.clear();
        }
    }
    if (!values.isEmpty())
        box->NastavSeznam(values);
    m_seznam = i;
}
