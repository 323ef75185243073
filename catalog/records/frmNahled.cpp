#include "records/frmNahled.h"

#include "common/globals.h"
#include "common/mainframe.h"
#include "common/translation.h"
#include "data/attachments.h"
#include "data/currentoverview.h"
#include "data/infosettings.h"
#include "records/frmImg.h"
#include "records/imagefit.h"
#include "system.h"
#include "variant.h"
#include "vberror.h"
#include "waitcursor.h"

#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QTabBar>
#include <QTimer>

namespace {

int placement(const char *key, const char *defaultValue)
{
    return sys::toPixels(int(vbVal(NactiInfo(QLatin1String(key), QLatin1String(defaultValue)))));
}

bool settingTrue(const char *key)
{
    return NactiInfo(QLatin1String(key), QStringLiteral("true")).toLower() == QLatin1String("true");
}

// The pointer of a picture that opens on a click: a magnifying glass.
QCursor magnifier()
{
    QPixmap glass(24, 24);
    glass.fill(Qt::transparent);
    QPainter p(&glass);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::white, 4));
    p.drawEllipse(QRectF(2, 2, 13, 13));
    p.drawLine(QPointF(14, 14), QPointF(21, 21));
    p.setPen(QPen(Qt::black, 2));
    p.drawEllipse(QRectF(2, 2, 13, 13));
    p.drawLine(QPointF(14, 14), QPointF(21, 21));
    return QCursor(glass, 8, 8);
}

// A tab's caption shows the text as it stands: "&" is no mnemonic there.
QString tabText(const QString &caption)
{
    QString text = caption;
    return text.replace(QLatin1Char('&'), QStringLiteral("&&"));
}

constexpr int kStrip = 300;  // twips at the frame's bottom for the check boxes

}  // namespace

frmNahled::frmNahled()
{
    setObjectName(QStringLiteral("frmNahled"));
    setWindowTitle(QStringLiteral("145,Náhledy a dokumenty"));
    setMinimumHeight(sys::toPixels(1500) - 30);

    tabS = new QTabBar(this);
    tabS->setObjectName(QStringLiteral("tabS"));
    tabS->setExpanding(false);
    tabS->setElideMode(Qt::ElideRight);
    tabS->setUsesScrollButtons(true);
    tabS->installEventFilter(this);
    // The strip keeps the height of a row of tabs while it has none.
    tabS->addTab(QStringLiteral("X"));
    m_tabHeight = tabS->sizeHint().height();
    tabS->removeTab(0);

    fra = new QFrame(this);
    fra->setObjectName(QStringLiteral("fra"));
    fra->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    img = new QLabel(fra);
    img->setObjectName(QStringLiteral("img"));
    img->installEventFilter(this);
    lblSoubor = new QLabel(fra);
    lblSoubor->setObjectName(QStringLiteral("lblSoubor"));
    lblSoubor->setAlignment(Qt::AlignCenter);
    lblSoubor->setTextFormat(Qt::PlainText);
    // Only a caption over the picture's place: the clicks are the picture's.
    lblSoubor->setAttribute(Qt::WA_TransparentForMouseEvents);
    pic = new QWidget(fra);
    pic->setObjectName(QStringLiteral("pic"));
    chkZoom = new QCheckBox(QStringLiteral("134,Měnit velikost"), pic);
    chkZoom->setObjectName(QStringLiteral("chkZoom"));
    chkProporce = new QCheckBox(QStringLiteral("71,Dodržovat poměr stran"), pic);
    chkProporce->setObjectName(QStringLiteral("chkProporce"));

    fraTxt = new QFrame(this);
    fraTxt->setObjectName(QStringLiteral("fraTxt"));
    txt = new QPlainTextEdit(fraTxt);
    txt->setObjectName(QStringLiteral("txt"));
    txt->setReadOnly(true);
    fraTxt->hide();

    m_redecode = new QTimer(this);
    m_redecode->setSingleShot(true);
    m_redecode->setInterval(120);
    connect(m_redecode, &QTimer::timeout, this, &frmNahled::redecode);

    chkZoom->setChecked(settingTrue("NahledZoom"));
    chkProporce->setChecked(settingTrue("NahledProporce"));
    chkProporce->setVisible(chkZoom->isChecked());
    connect(chkZoom, &QCheckBox::clicked, this, [this] {
        chkProporce->setVisible(chkZoom->isChecked());
        UpravObrazek();
    });
    connect(chkProporce, &QCheckBox::clicked, this, &frmNahled::UpravObrazek);
    connect(tabS, &QTabBar::tabBarClicked, this, [this](int index) {
        // A click on the tab already selected shows it again too.
        if (index == tabS->currentIndex())
            tmr_Timer();
    });
    connect(tabS, &QTabBar::currentChanged, this, [this] { tmr_Timer(); });

    PrelozFormular(*this, 0);
}

void frmNahled::Zobraz()
{
    ZobrazVOblasti(QRect(placement("NahledWindowLeft", "0"), placement("NahledWindowTop", "3750"),
                         placement("NahledWindowWidth", "6000"), placement("NahledWindowHeight", "3900")));
}

void frmNahled::Form_Unload()
{
    QWidget *frame = qobject_cast<QMdiSubWindow *>(parentWidget());
    if (frame && !frame->isMinimized() && !frame->isMaximized()) {
        UlozInfo(QStringLiteral("NahledWindowTop"), QString::number(sys::toTwips(frame->y())));
        UlozInfo(QStringLiteral("NahledWindowLeft"), QString::number(sys::toTwips(frame->x())));
        UlozInfo(QStringLiteral("NahledWindowWidth"), QString::number(sys::toTwips(frame->width())));
        UlozInfo(QStringLiteral("NahledWindowHeight"), QString::number(sys::toTwips(frame->height())));
        UlozInfo(QStringLiteral("NahledZoom"), chkZoom->isChecked() ? QStringLiteral("True") : QStringLiteral("False"));
        UlozInfo(QStringLiteral("NahledProporce"), chkProporce->isChecked() ? QStringLiteral("True") : QStringLiteral("False"));
    }
}

void frmNahled::resizeEvent(QResizeEvent *event)
{
    MdiForm::resizeEvent(event);
    const int margin = 3;
    tabS->setGeometry(margin, margin, width() - 2 * margin, std::max(m_tabHeight, tabS->sizeHint().height()));
    const QRect page(margin, tabS->geometry().bottom() + 1, width() - 2 * margin,
                     height() - tabS->geometry().bottom() - 1 - margin);
    fraTxt->setGeometry(page);
    txt->setGeometry(0, 0, page.width(), page.height());
    fra->setGeometry(page);
    const int strip = sys::toPixels(255);
    pic->setGeometry(0, page.height() - strip, page.width(), strip);
    chkZoom->setGeometry(4, 0, chkZoom->sizeHint().width(), strip);
    chkProporce->setGeometry(chkZoom->geometry().right() + 12, 0, chkProporce->sizeHint().width(), strip);
    lblSoubor->setGeometry(0, 0, page.width(), page.height() - sys::toPixels(kStrip));
    UpravObrazek();
}

qint32 frmNahled::AktualniKlic()
{
    return Prehled().AktualniKlic();
}

qint32 frmNahled::VybranaPriloha() const
{
    const int index = tabS->currentIndex();
    if (index < 0 || index == tabS->count() - 1)
        return 0;
    return tabS->tabData(index).toInt();
}

void frmNahled::Vyprazdni()
{
    const QSignalBlocker block(tabS);
    while (tabS->count() > 0)
        tabS->removeTab(0);
    txt->clear();
    fraTxt->hide();
    clearPicture();
    fra->show();
}

void frmNahled::clearPicture()
{
    m_redecode->stop();
    img->clear();
    img->hide();
    img->setProperty("Tag", QString());
    img->unsetCursor();
    lblSoubor->clear();
    m_path.clear();
    m_icon = QPixmap();
    m_natural = QSize();
    m_full = QRect();
    m_decodedFull = QSize();
    m_decodedVisible = QRect();
}

void frmNahled::NactiZalozky()
{
    ++PocetNacteni;
    try {
        nactiZalozky();
    } catch (const VbError &) {
        // A catalog locked by another workstation: the preview shows nothing of a record
        // it could not read, says nothing, and tries again at the next row change.
        Vyprazdni();
    }
}

void frmNahled::nactiZalozky()
{
    const qint32 key = AktualniKlic();
    // A record that is gone (deleted meanwhile) leaves nothing of itself behind.
    if (key == 0 || !Db || !NactiPoznamku(*Db, key)) {
        Vyprazdni();
        return;
    }
    {
        const QSignalBlocker block(tabS);
        while (tabS->count() > 0)
            tabS->removeTab(0);
        const std::vector<Priloha> prilohy = NactiPrilohy(*Db, key);
        for (const Priloha &p : prilohy)
            tabS->setTabData(tabS->addTab(tabText(p.Popis)), p.Poradi);
        tabS->setTabData(tabS->addTab(PrelozText(QStringLiteral("222,Popis"))), int(prilohy.size()) + 1);
        tabS->setCurrentIndex(0);
    }
    tmr_Timer();
}

void frmNahled::tmr_Timer()
{
    try {
        zobrazZalozku();
    } catch (const VbError &) {
        // Nothing of the tab could be read (a locked catalog): nothing of it shows.
        clearPicture();
        txt->clear();
    }
}

void frmNahled::zobrazZalozku()
{
    const qint32 key = AktualniKlic();
    if (key == 0 || !Db || tabS->count() == 0)
        return;
    if (tabS->currentIndex() == tabS->count() - 1) {
        if (const std::optional<QString> note = NactiPoznamku(*Db, key)) {
            txt->setPlainText(*note);
            fraTxt->show();
            fraTxt->raise();
        }
        return;
    }
    fraTxt->hide();
    const WaitCursor wait;
    clearPicture();
    const std::optional<Priloha> priloha = NactiPrilohu(*Db, key, VybranaPriloha());
    if (!priloha)
        return;
    const QString path = CestaPrilohy(AppPath, priloha->Soubor);
    // A name that is no bare file name, or a picture that does not load, shows its name
    // in an empty frame and opens nothing.
    lblSoubor->setText(priloha->Soubor);
    if (path.isEmpty())
        return;
    if (DruhPrilohy(priloha->Soubor) == DruhSouboru::Obrazek) {
        const std::optional<QSize> size = VelikostObrazku(path);
        if (!size)
            return;
        m_path = path;
        m_natural = QSize(sys::toTwips(size->width()), sys::toTwips(size->height()));
    } else {
        m_icon = ObrazekHlavnihoOkna(DruhPrilohy(priloha->Soubor) == DruhSouboru::Pdf ? 5 : 4);
        m_natural = QSize(sys::toTwips(m_icon.width()), sys::toTwips(m_icon.height()));
    }
    img->setProperty("Tag", priloha->Soubor);
    img->setCursor(magnifier());
    UpravObrazek();
    redecode();
    if (img->pixmap().isNull()) {
        clearPicture();
        lblSoubor->setText(priloha->Soubor);
        return;
    }
    lblSoubor->clear();
    fra->show();
}

void frmNahled::UpravObrazek()
{
    if (m_natural.isEmpty())
        return;
    const QSize frame(sys::toTwips(fra->width()), sys::toTwips(fra->height()));
    const QRect place = UmistiVNahledu(m_natural, frame, chkZoom->isChecked(), chkProporce->isChecked());
    m_full = VPixelech(place);
    // The label covers only what the frame shows of the picture.
    const QRect visible = m_full.intersected(fra->rect());
    if (visible.isEmpty()) {
        img->hide();
        return;
    }
    // The picture decoded so far stands in, scaled, until the window settles.
    img->setScaledContents(true);
    img->setGeometry(visible);
    img->show();
    pic->raise();
    if (m_path.isEmpty() ? img->pixmap().isNull() : (m_full.size() != m_decodedFull || visible != m_decodedVisible))
        m_redecode->start();
}

void frmNahled::redecode()
{
    m_redecode->stop();
    if (m_path.isEmpty()) {
        if (!m_icon.isNull())
            img->setPixmap(m_icon);
        return;
    }
    // Decoded at the size shown and only the part in view: a large photo costs no more
    // than the frame it fills.
    const QRect visible = img->geometry();
    const QImage picture = NactiObrazek(m_path, m_full.size(), visible.translated(-m_full.topLeft()));
    if (picture.isNull())
        return;
    img->setPixmap(QPixmap::fromImage(picture));
    m_decodedFull = m_full.size();
    m_decodedVisible = visible;
}

void frmNahled::img_Click()
{
    OtevriPrilohu(img->property("Tag").toString());
}

bool frmNahled::eventFilter(QObject *watched, QEvent *event)
{
    if ((watched == img || watched == tabS) && event->type() == QEvent::MouseButtonPress) {
        auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() == Qt::RightButton) {
            if (QMenu *menu = PopupNahledy())
                menu->popup(mouse->globalPosition().toPoint());
            return true;
        }
    }
    if (watched == img && event->type() == QEvent::MouseButtonRelease
        && static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton && img->rect().contains(static_cast<QMouseEvent *>(event)->position().toPoint())) {
        img_Click();
        return true;
    }
    return MdiForm::eventFilter(watched, event);
}
