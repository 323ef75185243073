#include "pageview.h"

#include "msgbox.h"
#include "printer.h"
#include "system.h"
#include "vberror.h"

#include <QFrame>
#include <QGuiApplication>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSize>
#include <QWidget>

#include <algorithm>
#include <optional>

namespace {

constexpr int Margin = 120;

QPushButton *button(QWidget *parent, const char *name, const QString &caption, const QString &tip)
{
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(QLatin1String(name));
    b->setToolTip(tip);
    b->setAutoDefault(false);
    return b;
}

QFrame *buttonRow(QWidget *window, const char *name)
{
    auto *row = new QFrame(window);
    row->setObjectName(QLatin1String(name));
    auto *layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    return row;
}

QPixmap orientationPicture(int index)
{
    // A sheet with lines of text, upright or lying.
    QPixmap picture(36, 36);
    picture.fill(Qt::transparent);
    QPainter p(&picture);
    const QRect sheet = index == 0 ? QRect(9, 2, 18, 31) : QRect(2, 9, 31, 18);
    p.fillRect(sheet, Qt::white);
    p.setPen(Qt::black);
    p.drawRect(sheet);
    p.setPen(Qt::darkGray);
    for (int y = sheet.top() + 4; y < sheet.bottom() - 2; y += 3)
        p.drawLine(sheet.left() + 3, y, sheet.right() - 3, y);
    return picture;
}

std::optional<QString> &programDefault()
{
    static std::optional<QString> entry;
    return entry;
}

}  // namespace

OvladaniNahledu VytvorNahled(QWidget *window)
{
    OvladaniNahledu v;
    v.fra = new QFrame(window);
    v.fra->setObjectName(QStringLiteral("fra"));
    v.fra->setFrameShape(QFrame::Panel);
    v.fra->setFrameShadow(QFrame::Sunken);
    v.fra->setStyleSheet(QStringLiteral("QFrame#fra { background: #808080; }"));
    v.fra->move(4, 4);
    v.pic = new QLabel(v.fra);
    v.pic->setObjectName(QStringLiteral("pic"));
    v.pic->move(sys::toPixels(Margin), sys::toPixels(Margin));
    v.lV = new QFrame(v.fra);
    v.lV->setObjectName(QStringLiteral("lV"));
    v.lH = new QFrame(v.fra);
    v.lH->setObjectName(QStringLiteral("lH"));
    for (QFrame *line : {v.lV, v.lH}) {
        line->setAutoFillBackground(true);
        line->setStyleSheet(QStringLiteral("background: black;"));
    }
    v.hsb = new QScrollBar(Qt::Horizontal, window);
    v.hsb->setObjectName(QStringLiteral("hsb"));
    v.vsb = new QScrollBar(Qt::Vertical, window);
    v.vsb->setObjectName(QStringLiteral("vsb"));

    v.fraLBtn = buttonRow(window, "fraLBtn");
    v.cmdFirst = button(v.fraLBtn, "cmdFirst", QStringLiteral("|<"), QStringLiteral("255,První stránka"));
    v.cmdBefore = button(v.fraLBtn, "cmdBefore", QStringLiteral("<"), QStringLiteral("257,Předchozí stránka"));
    v.lbl = new QLabel(QStringLiteral("1/1"), v.fraLBtn);
    v.lbl->setObjectName(QStringLiteral("lbl"));
    v.lbl->setAlignment(Qt::AlignCenter);
    v.lbl->setMinimumWidth(70);
    v.cmdNext = button(v.fraLBtn, "cmdNext", QStringLiteral(">"), QStringLiteral("153,následující stránka"));
    v.cmdLast = button(v.fraLBtn, "cmdLast", QStringLiteral(">|"), QStringLiteral("223,Poslední stránka"));
    for (QWidget *w : std::initializer_list<QWidget *>{v.cmdFirst, v.cmdBefore, v.lbl, v.cmdNext, v.cmdLast})
        v.fraLBtn->layout()->addWidget(w);
    v.fraLBtn->resize(sys::toPixels(4200), sys::toPixels(450));
    v.fraRBtn = buttonRow(window, "fraRBtn");
    for (QScrollBar *bar : {v.hsb, v.vsb})
        QObject::connect(bar, &QScrollBar::valueChanged, window, [v] { v.Posun(); });
    return v;
}

void OvladaniNahledu::NastavPosuvniky() const
{
    ::NastavPosuvniky(hsb, vsb, pic, fra);
}

void OvladaniNahledu::Posun() const
{
    PosunStranku(pic, lV, lH, hsb->value(), vsb->value());
}

void OvladaniNahledu::UkazCisloStranky(int page, int count) const
{
    lbl->setText(QString::number(page + 1) + QLatin1Char('/') + QString::number(count));
    // The buttons' frame is as wide as its design, or as its buttons and the counter
    // need: a count of four digits would run under the next button.
    lbl->setMinimumWidth(std::max(70, lbl->sizeHint().width()));
    fraLBtn->resize(std::max(sys::toPixels(4200), fraLBtn->layout()->sizeHint().width()), fraLBtn->height());
}

QPushButton *TlacitkoNahledu(QFrame *fraRBtn, const char *name, const QString &caption, const QString &tip)
{
    QPushButton *b = button(fraRBtn, name, caption, tip);
    fraRBtn->layout()->addWidget(b);
    const int buttons = fraRBtn->layout()->count();
    fraRBtn->resize(sys::toPixels(buttons * 1150 + 250), sys::toPixels(450));
    return b;
}

void RozmistiNahled(const OvladaniNahledu &v, QSize window, int korekceVysky)
{
    const int w = sys::toTwips(window.width());
    const int h = sys::toTwips(window.height());
    if (w > 3000) {
        v.fra->resize(sys::toPixels(w - 485), v.fra->height());
        v.vsb->move(sys::toPixels(w - 390), v.vsb->y());
        v.hsb->resize(v.fra->width() + sys::toPixels(105), v.hsb->sizeHint().height());
        v.fraRBtn->move(sys::toPixels(w - 150 - sys::toTwips(v.fraRBtn->width())), v.fraRBtn->y());
    }
    if (h > 3000) {
        v.fra->resize(v.fra->width(), sys::toPixels(h - 1305 - korekceVysky));
        v.hsb->move(v.hsb->x(), sys::toPixels(h - 1170 - korekceVysky));
        v.vsb->resize(v.vsb->sizeHint().width(), v.fra->height() + sys::toPixels(120));
        v.fraLBtn->move(sys::toPixels(60), v.hsb->y() + sys::toPixels(350));
        v.fraRBtn->move(v.fraRBtn->x(), v.fraLBtn->y());
    }
    v.vsb->move(v.vsb->x(), v.fra->y());
    v.hsb->move(v.fra->x(), v.hsb->y());
    v.NastavPosuvniky();
}

void NastavPosuvnik(QScrollBar *bar, int pageExtent, int viewExtent)
{
    const int d = pageExtent - viewExtent + 2 * Margin + 30;
    const int maximum = d < 1 ? 0 : d;
    bar->setEnabled(d >= 1);
    bar->setMinimum(0);
    bar->setMaximum(maximum);
    bar->setPageStep(maximum / 5 + 1);
    bar->setSingleStep(maximum / 10 + 1);
}

void NastavPosuvniky(QScrollBar *hsb, QScrollBar *vsb, const QWidget *page, const QWidget *view)
{
    NastavPosuvnik(hsb, sys::toTwips(page->width()), sys::toTwips(view->width()));
    NastavPosuvnik(vsb, sys::toTwips(page->height()), sys::toTwips(view->height()));
}

void PosunStranku(QWidget *page, QWidget *lV, QWidget *lH, int hValue, int vValue)
{
    const int left = Margin - hValue;
    const int top = Margin - vValue;
    page->move(sys::toPixels(left), sys::toPixels(top));
    const int w = sys::toTwips(page->width());
    const int h = sys::toTwips(page->height());
    // The shadow: a line of a few pixels from (x1, y1) to (x2, y2).
    const int thick = 3;
    lV->setGeometry(sys::toPixels(left + w + 15) - 1, sys::toPixels(top + 50), thick,
                    sys::toPixels(h + 20 - 50));
    lH->setGeometry(sys::toPixels(left + 50), sys::toPixels(top + h + 25) - 1, sys::toPixels(w + 10 - 50),
                    thick);
}

QString VychoziTiskarna()
{
    if (programDefault())
        return *programDefault();
    return printer::DefaultPrinterName();
}

void NastavVychoziTiskarnu(const QString &entry)
{
    // Setting back the system's own default follows the system again from then on.
    if (entry == printer::DefaultPrinterName())
        programDefault().reset();
    else
        programDefault() = entry;
}

std::unique_ptr<printer::Printer> TiskarnaStranky(const QString &name, const QString &pdfFile)
{
    const QStringList installed = printer::Printers();
    if (pdfFile.isEmpty() && !name.isEmpty())
        return std::make_unique<printer::Printer>(name);
    if (pdfFile.isEmpty() && !installed.isEmpty())
        return std::make_unique<printer::Printer>(installed.contains(VychoziTiskarna()) ? VychoziTiskarna()
                                                                                        : installed.constFirst());
    return printer::Printer::pdf(pdfFile);
}

VolbaOrientace VytvorVolbuOrientace(QGroupBox *frame, QWidget *caption)
{
    VolbaOrientace v;
    auto *orientation = new QHBoxLayout(frame);
    auto *options = new QVBoxLayout;
    if (caption)
        options->addWidget(caption);
    v.opt[0] = new QRadioButton(QStringLiteral("461,Na výšku"), frame);
    v.opt[1] = new QRadioButton(QStringLiteral("462,Na šířku"), frame);
    v.pic = new QLabel(frame);
    v.pic->setObjectName(QStringLiteral("pic"));
    v.pic->setFixedSize(40, 40);
    for (int i = 0; i < 2; ++i) {
        v.opt[i]->setObjectName(QStringLiteral("opt_%1").arg(i));
        options->addWidget(v.opt[i]);
        QLabel *pic = v.pic;
        QObject::connect(v.opt[i], &QRadioButton::toggled, pic, [pic, i](bool on) {
            if (!on)
                return;
            pic->setPixmap(orientationPicture(i));
            pic->setProperty("image", i == 0 ? QStringLiteral("port") : QStringLiteral("land"));
        });
    }
    orientation->addLayout(options);
    orientation->addWidget(v.pic);
    return v;
}

void HlasChybuTisku(const VbError &e, const QString &title, const std::function<QString(const QString &)> &preloz)
{
    QGuiApplication::restoreOverrideCursor();
    if (e.Number() == 482)
        MsgBox(preloz(QStringLiteral("337,Tiskárna není připravena. Zkontrolujte stav tiskárny a tisk opakujte.")),
               vbExclamation, title);
    else
        MsgBox(preloz(QStringLiteral("95,Chyba při tisku.")) + QLatin1Char('\n') + e.Description(), vbExclamation,
               title);
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
}
