#include "frmPrehled.h"

#include "VarnexEditUni.h"
#include "data/infosettings.h"
#include "data/sqlliteral.h"
#include "mainwindow/frmMain.h"
#include "records/frmNahled.h"
#include "startup/globals.h"
#include "startup/translation.h"
#include "system.h"
#include "variant.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QRegularExpression>
#include <QPointer>
#include <QTimer>
#include <QVBoxLayout>

namespace {

QPointer<frmPrehled> instance;

int placement(const char *key, const char *defaultValue)
{
    return sys::toPixels(int(vbVal(NactiInfo(QLatin1String(key), QLatin1String(defaultValue)))));
}

}  // namespace

frmPrehled &frmPrehled::Form()
{
    if (!instance)
        instance = new frmPrehled;
    return *instance;
}

frmPrehled *frmPrehled::Loaded()
{
    return instance.data();
}

void frmPrehled::Unload()
{
    if (!instance)
        return;
    instance->Form_Unload();
    if (auto *frame = qobject_cast<QMdiSubWindow *>(instance->parentWidget()))
        delete frame;
    else
        delete instance.data();
}

frmPrehled::frmPrehled()
{
    setObjectName(QStringLiteral("frmPrehled"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("259,Přehled"));

    VEdit = new VarnexEditUni(this);
    VEdit->setObjectName(QStringLiteral("VEdit"));
    VEdit->EnableSelect(true);
    VEdit->EnableSort(true);
    VEdit->MergeCells(VeMergeNever);
    VEdit->WordWrap(false);
    VEdit->Font(QFont(QStringLiteral("MS Sans Serif"), 8));
    connect(VEdit, &VarnexEditUni::RowChange, this, &frmPrehled::VEdit_RowChange);

    QFont arial(QStringLiteral("Arial"));
    lblPopis = new QLabel(QStringLiteral("222,Popis"), this);
    lblPopis->setObjectName(QStringLiteral("lblPopis"));
    lblPopis->setFont(arial);
    txtPopis = new QLabel(this);
    txtPopis->setObjectName(QStringLiteral("txtPopis"));
    txtPopis->setFont(arial);
    txtPopis->setTextFormat(Qt::PlainText);
    tmr = new QTimer(this);
    tmr->setObjectName(QStringLiteral("tmr"));
    tmr->setSingleShot(true);
    tmr->setInterval(500);
    connect(tmr, &QTimer::timeout, this, &frmPrehled::tmr_Timer);

    // The grid takes the window but for the strip; the strip's text begins a little
    // after its caption, however long that is.
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(2);
    layout->addWidget(VEdit, 1);
    auto *strip = new QHBoxLayout;
    strip->setSpacing(sys::toPixels(160));
    strip->addWidget(lblPopis);
    strip->addWidget(txtPopis, 1);
    layout->addLayout(strip);

    PrehledOtevren = true;
    PrelozFormular(*this, 0);
}

frmPrehled::~frmPrehled()
{
    PrehledOtevren = false;
}

void frmPrehled::Zobraz()
{
    // Never a window of its own: without the main window it does not show.
    frmMain *main = frmMain::Loaded();
    if (!parentWidget()) {
        if (!main)
            return;
        QMdiSubWindow *frame = main->mdiArea->addSubWindow(this);
        frame->setGeometry(placement("PrehledWindowLeft", "0"), placement("PrehledWindowTop", "0"),
                           placement("PrehledWindowWidth", "11800"), placement("PrehledWindowHeight", "3740"));
    }
    show();
}

void frmPrehled::SetFocus()
{
    if (auto *frame = qobject_cast<QMdiSubWindow *>(parentWidget()); frame && frame->mdiArea())
        frame->mdiArea()->setActiveSubWindow(frame);
    VEdit->setFocus();
}

void frmPrehled::closeEvent(QCloseEvent *event)
{
    Form_Unload();
    event->accept();
}

void frmPrehled::Form_Unload()
{
    QWidget *frame = qobject_cast<QMdiSubWindow *>(parentWidget());
    if (frame && !frame->isMinimized() && !frame->isMaximized()) {
        UlozInfo(QStringLiteral("PrehledWindowTop"), QString::number(sys::toTwips(frame->y())));
        UlozInfo(QStringLiteral("PrehledWindowLeft"), QString::number(sys::toTwips(frame->x())));
        UlozInfo(QStringLiteral("PrehledWindowWidth"), QString::number(sys::toTwips(frame->width())));
        UlozInfo(QStringLiteral("PrehledWindowHeight"), QString::number(sys::toTwips(frame->height())));
    }
    PrehledOtevren = false;
}

void frmPrehled::NactiData()
{
    frmMain *main = frmMain::Loaded();
    if (!main)
        return;
    const QString section = main->lblSekce->property("Tag").toString();
    if (section == QLatin1String("0")) {
        VEdit->Clear();
        return;
    }
    const QString q = CSQL(section, true);
    m_definice = Db->OpenRecordset(QStringLiteral("select * from Definice where sekce=") + q + QStringLiteral(" order by poradi"));
    SloupcePrehledu.assign(1, SloupecPrehledu());

    VEdit->SetData(Db.get());
    VEdit->SetLang(Preklady.get());
    VEdit->GridName(QStringLiteral("frmPrehled_Sekce") + section);
    VEdit->UserName(Uzivatel);

    SeznamPoli = QStringLiteral("Inter");
    SloupecPopisu = -1;
    lblPopis->setText(PrelozText(QStringLiteral("222,Popis")));
    for (dao::Recordset &d = *m_definice; !d.Eof(); d.MoveNext()) {
        const auto text = [&d](const char *name) {
            const Variant v = d[QLatin1String(name)];
            return v.IsNull() ? QString() : v.toString();
        };
        const auto flag = [&d](const char *name) {
            const Variant v = d[QLatin1String(name)];
            return !v.IsNull() && v.toBool();
        };
        SloupecPrehledu column;
        column.Typ = text("Typ").toUpper();
        column.Jmeno = text("Pol") + column.Typ;
        column.Titulek = text("Nazev");
        column.Zarovnani = text("Zarovnani").toUpper();
        // The name goes into the statement as it stands: only a field of the catalog may
        // (definitions also come with catalog releases from outside).
        static const QRegularExpression field(QStringLiteral("^Pol([1-9]|[12][0-9]|30)[CND]$"),
                                              QRegularExpression::CaseInsensitiveOption);
        const bool shown = flag("Zobraz") && field.match(column.Jmeno).hasMatch();
        // A description field that is not shown has no column of its own: the strip
        // stays empty rather than show the next column's value.
        if (flag("Popis")) {
            lblPopis->setText(column.Titulek);
            SloupecPopisu = shown ? int(SloupcePrehledu.size()) : -1;
        }
        if (shown) {
            SeznamPoli += QStringLiteral(", ") + column.Jmeno;
            SloupcePrehledu.push_back(column);
        }
    }
    PocetSloupcu = quint8(SloupcePrehledu.size());

    VEdit->SortCol(true, 1);
    // With no field shown there is no first column to order by: the records come by key.
    const QString order = SloupcePrehledu.size() > 1 ? SloupcePrehledu[1].Jmeno : QStringLiteral("Inter");
    const QString from = QStringLiteral(" from Katalog where sekce=") + q;
    // Under a limit the engine keeps only the first records of its sort instead of
    // sorting the whole section; the counter still tells how many there are.
    QString limit;
    int total = -1;
    if (const auto most = LimitZaznamu()) {
        limit = QStringLiteral(" limit ") + QString::number(std::max(*most, 1));
        total = Db->OpenRecordset(QStringLiteral("select count(*)") + from)->Fields(0).Value().toLong();
    }
    Zaznamy = Db->OpenRecordset(QStringLiteral("select ") + SeznamPoli + from + QStringLiteral(" order by ") + order + limit);
    m_celkem = total;
    VEdit->Edited(2);
    const char *menu[] = {"33,Aktualizace záznamu", "122,Kopie záznamu", "307,Smazat záznam", "-",
                          "403,Změnit náhled", "274,Přidat náhled", "-", "334,Tisk detailu"};
    // The control refuses to make an item twice: a window loaded again keeps its menu.
    for (qint16 i = m_menuItems; i < qint16(std::size(menu)); ++i, ++m_menuItems) {
        const QString caption = QString::fromUtf8(menu[i]);
        VEdit->SetMenu(i, caption == QLatin1String("-") ? caption : PrelozText(caption));
    }
    VEdit->EnableHideCol(false);
    VEdit->EnableSetupCols(false);
    NastavSloupce(true);
    if (readRows())
        VEdit->show();
}

void frmPrehled::NastavSloupce(bool define)
{
    if (!define)
        return;
    VEdit->Redraw(false);
    VEdit->Init(PocetSloupcu + 1, 1);
    VEdit->SetCol(0, QStringLiteral("Inter"), 0, QStringLiteral("S"), QStringLiteral("Katalog.Inter"), QStringLiteral("N"), 0,
                  QString(), false, false, false);
    for (size_t i = 1; i < SloupcePrehledu.size(); ++i) {
        const SloupecPrehledu &c = SloupcePrehledu[i];
        VEdit->SetCol(qint32(i), c.Titulek, 2000, c.Zarovnani, QStringLiteral("Katalog.") + c.Jmeno, c.Typ, 50);
    }
    VEdit->SetCol(PocetSloupcu, QStringLiteral("Update"), 0, QStringLiteral("S"), QStringLiteral("Update"), QStringLiteral("C"),
                  0, QString(), false, false, false);
    VEdit->Redraw(true);
}

void frmPrehled::showDescription(const QString &text)
{
    txtPopis->setText(text);
}

void frmPrehled::VEdit_RowChange()
{
    const int row = VEdit->Row();
    showDescription(SloupecPopisu > 0 && row > 0 && row < VEdit->Rows() ? VEdit->TMatrix(row, SloupecPopisu) : QString());
    // Inside a load the grid moves its cursor itself (emptying it, say); events let run
    // there could unload this window under the control's own call.
    if (m_reading == 0)
        QCoreApplication::processEvents();
    tmr->stop();
    tmr->start();
}

void frmPrehled::tmr_Timer()
{
    tmr->stop();
    if (NahledOtevren)
        frmNahled::Form().NactiZalozky();
}
