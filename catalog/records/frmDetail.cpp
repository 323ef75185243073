#include "records/frmDetail.h"

#include "common/globals.h"
#include "common/mainframe.h"
#include "common/translation.h"
#include "dao.h"
#include "data/attachments.h"
#include "data/currentoverview.h"
#include "records/frmImg.h"
#include "records/imagefit.h"
#include "system.h"
#include "waitcursor.h"

#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QTabBar>

namespace {

// The design, in twips.
constexpr int kWidth = 11880;
constexpr int kHeight = 7320;
constexpr int kLabelWidth = 1500;
constexpr int kTabsLeft = 4590;
constexpr int kNoteTop = 5940;

QRect twips(int left, int top, int width, int height)
{
    return QRect(sys::toPixels(left), sys::toPixels(top), sys::toPixels(width), sys::toPixels(height));
}

}  // namespace

frmDetail::frmDetail(qint32 inter) : m_klic(inter)
{
    setObjectName(QStringLiteral("frmDetail"));
    setWindowTitle(QStringLiteral("63,Detail"));
    setFixedSize(sys::toPixels(kWidth), sys::toPixels(kHeight));

    tabS = new QTabBar(this);
    tabS->setObjectName(QStringLiteral("tabS"));
    tabS->setExpanding(false);
    tabS->setUsesScrollButtons(true);
    tabS->setGeometry(twips(kTabsLeft, 60, 7245, 360));
    fra = new QFrame(this);
    fra->setObjectName(QStringLiteral("fra"));
    fra->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    fra->setGeometry(twips(4650, 420, 7095, 5385));
    img = new QLabel(fra);
    img->setObjectName(QStringLiteral("img"));
    img->setScaledContents(true);
    img->installEventFilter(this);
    img->hide();
    lblSoubor = new QLabel(fra);
    lblSoubor->setObjectName(QStringLiteral("lblSoubor"));
    lblSoubor->setAlignment(Qt::AlignCenter);
    lblSoubor->setTextFormat(Qt::PlainText);
    // Only a caption over the picture's place: the clicks are the picture's.
    lblSoubor->setAttribute(Qt::WA_TransparentForMouseEvents);
    lblSoubor->setGeometry(twips(60, 60, 6975, 5235));
    txtPopis = new QPlainTextEdit(this);
    txtPopis->setObjectName(QStringLiteral("txtPopis"));
    txtPopis->setReadOnly(true);
    txtPopis->setGeometry(twips(kTabsLeft, kNoteTop, 7245, 1305));
    connect(tabS, &QTabBar::currentChanged, this, &frmDetail::ZobrazZalozku);

    // The window's own captions first: what the record brings (field captions,
    // attachment descriptions) is shown as it stands.
    PrelozFormular(*this, 0);
}

frmDetail::~frmDetail() = default;

void frmDetail::Zobraz(qint32 inter)
{
    // A fresh window for each record: its rows are made for the record's columns.
    Unload();
    frmDetail &w = Form(inter);
    w.Form_Load();
    w.NadOtevirajicimOknem();
    w.ZobrazModalne();
}

void frmDetail::Form_Load()
{
    const AktualniPrehled &prehled = Prehled();
    const std::vector<SloupecPrehledu> &sloupce = prehled.SloupcePrehledu();
    auto record = Db->OpenRecordset(DotazDetailu(prehled.SeznamPoli(), m_klic));
    lbl.assign(1, nullptr);
    cmb.assign(1, nullptr);
    const int fields = int(prehled.PocetSloupcu()) - 1;
    const int boxLeft = kLabelWidth + 90 + 100;
    for (int i = 1; i <= fields && size_t(i) < sloupce.size(); ++i) {
        auto *label = new QLabel(this);
        label->setObjectName(QStringLiteral("lbl%1").arg(i));
        label->setTextFormat(Qt::PlainText);
        label->setText(sloupce[size_t(i)].Titulek);
        const int top = 150 + 360 * (i - 1);
        label->setGeometry(twips(90, top, kLabelWidth, 255));
        label->show();
        lbl.push_back(label);
        auto *box = new QLineEdit(this);
        box->setObjectName(QStringLiteral("cmb%1").arg(i));
        box->setReadOnly(true);
        box->setText(record->Eof() || i >= record->FieldCount() ? QString() : TextBunky((*record)[i]));
        box->setCursorPosition(0);
        box->setGeometry(twips(boxLeft, top - 60, kTabsLeft - 150 - boxLeft, 315));
        box->show();
        cmb.push_back(box);
    }
    // Rows beyond the design's height make the window taller, and the note with it.
    if (fields > 0) {
        const int bottom = 150 + 360 * (fields - 1) - 60 + 750 - 405;
        if (bottom > kHeight) {
            setFixedSize(sys::toPixels(kWidth), sys::toPixels(bottom));
            txtPopis->setGeometry(twips(kTabsLeft, kNoteTop, 7245, bottom - kNoteTop - 30));
        }
    }

    {
        const QSignalBlocker block(tabS);
        for (const Priloha &p : NactiPrilohy(*Db, m_klic)) {
            QString caption = p.Popis;
            tabS->setTabData(tabS->addTab(caption.replace(QLatin1Char('&'), QStringLiteral("&&"))), p.Poradi);
        }
        if (tabS->count() > 0)
            tabS->setCurrentIndex(0);
    }
    if (!record->Eof()) {
        const Variant note = (*record)[QStringLiteral("poznamka")];
        txtPopis->setPlainText(note.IsNull() ? QString() : note.toString());
    }
    ZobrazZalozku();
}

void frmDetail::clearPicture()
{
    img->clear();
    img->hide();
    img->setProperty("Tag", QString());
    img->unsetCursor();
    lblSoubor->clear();
}

void frmDetail::ZobrazZalozku()
{
    clearPicture();
    if (tabS->count() == 0)
        return;
    const std::optional<Priloha> priloha = NactiPrilohu(*Db, m_klic, tabS->tabData(tabS->currentIndex()).toInt());
    if (!priloha)
        return;
    const WaitCursor wait;
    lblSoubor->setText(priloha->Soubor);
    const std::optional<ZobrazenaPriloha> shown =
        NactiPrilohuDoBoxu(CestaPrilohy(AppPath, priloha->Soubor), priloha->Soubor, UmistiVDetailu);
    if (!shown)
        return;
    lblSoubor->clear();
    img->setPixmap(shown->obrazek);
    img->setGeometry(shown->misto);
    img->setProperty("Tag", priloha->Soubor);
    img->setCursor(Qt::PointingHandCursor);
    img->show();
}

void frmDetail::img_Click()
{
    OtevriPrilohu(img->property("Tag").toString());
}

void frmDetail::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

bool frmDetail::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == img && event->type() == QEvent::MouseButtonRelease) {
        auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() == Qt::LeftButton && img->rect().contains(mouse->position().toPoint())) {
            img_Click();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}
