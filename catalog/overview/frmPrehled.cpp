#include "overview/frmPrehled.h"

#include "VarnexEditUni.h"
#include "data/infosettings.h"
#include "common/errorreport.h"
#include "data/overviewquery.h"
#include "data/overviewreader.h"
#include "common/utility.h"
#include "msgbox.h"
#include "records/frmDetail.h"
#include "records/frmEditace.h"
#include "records/frmNahled.h"
#include "records/frmPriradObr.h"
#include "records/frmVyber.h"
#include "output/frmTisk.h"
#include "data/selectedrecords.h"
#include "columntable.h"
#include "common/globals.h"
#include "common/translation.h"
#include "system.h"
#include "vberror.h"
#include "dao.h"
#include "variant.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QTimer>
#include <QVBoxLayout>

namespace {

int placement(const char *key, const char *defaultValue)
{
    return sys::toPixels(int(vbVal(NactiInfo(QLatin1String(key), QLatin1String(defaultValue)))));
}

}  // namespace

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
    // The control's events: what fails in them for want of the catalog (locked by another
    // workstation) is told, and the control goes on.
    connect(VEdit, &VarnexEditUni::RowChange, this, &frmPrehled::VEdit_RowChange);
    connect(VEdit, &VarnexEditUni::Record, this, [this](qint16 &index) { reportErrors([&] { vEdit_Record(index); }); });
    connect(VEdit, &VarnexEditUni::Vybrano, this, [this](Variant &where) { reportErrors([&] { VEdit_Vybrano(where); }); });
    connect(VEdit, &VarnexEditUni::DblClick, this, [this] { reportErrors([this] { VEdit_DblClick(); }); });
    connect(VEdit, &VarnexEditUni::Refresh, this, [this] { reportErrors([this] { VEdit_Refresh(); }); });
    connect(VEdit, &VarnexEditUni::Smazano, this, [this] { reportErrors([this] { VEdit_Smazano(); }); });
    connect(VEdit, &VarnexEditUni::DefaultHeaderEvent, this,
            [this](ColumnTable &defaults) { reportErrors([&] { VEdit_DefaultHeader(defaults); }); });
    connect(VEdit, &VarnexEditUni::ChangeHeader, this, [this] { reportErrors([this] { VEdit_ChangeHeader(); }); });

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
    tmr->setInterval(200);
    connect(tmr, &QTimer::timeout, this, &frmPrehled::tmr_Timer);
    m_reader = new OverviewReader(this);
    connect(m_reader, &OverviewReader::rowsRead, this, &frmPrehled::rowsRead);
    connect(m_reader, &OverviewReader::rowsEnded, this, &frmPrehled::rowsEnded);
    connect(m_reader, &OverviewReader::counted, this, &frmPrehled::rowsCounted);
    connect(m_reader, &OverviewReader::finished, this, &frmPrehled::rowsFinished);
    connect(m_reader, &OverviewReader::failed, this, &frmPrehled::readFailed);

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

    PrelozFormular(*this, 0);

    // The overview shows the current overview's state and follows its notices.
    Prehled().Pripoj(this);
    connect(&Prehled(), &AktualniPrehled::podminkaZmenena, this, &frmPrehled::UkazPodminku);
    connect(&Prehled(), &AktualniPrehled::zaznamZmenen, this, &frmPrehled::ZaznamZmenen);
}

frmPrehled::~frmPrehled()
{
    Prehled().Odpoj(this);
}

void frmPrehled::Zobraz()
{
    ZobrazVOblasti(QRect(placement("PrehledWindowLeft", "0"), placement("PrehledWindowTop", "0"),
                         placement("PrehledWindowWidth", "11800"), placement("PrehledWindowHeight", "3740")));
}

void frmPrehled::SetFocus()
{
    if (auto *frame = qobject_cast<QMdiSubWindow *>(parentWidget()); frame && frame->mdiArea())
        frame->mdiArea()->setActiveSubWindow(frame);
    VEdit->setFocus();
}

void frmPrehled::Form_Unload()
{
    // Nothing more of a load arrives for a window that goes.
    if (m_reader->reading()) {
        m_reader->cancel();
        ++m_load;
        ZpravaStavu(QString());
    }
    // Without the overview there is no current record to preview.
    if (frmNahled *preview = frmNahled::Loaded())
        preview->Vyprazdni();
    if (frmVyber *selection = frmVyber::Loaded())
        selection->fraVyber->setEnabled(false);
    QWidget *frame = qobject_cast<QMdiSubWindow *>(parentWidget());
    if (frame && !frame->isMinimized() && !frame->isMaximized()) {
        UlozInfo(QStringLiteral("PrehledWindowTop"), QString::number(sys::toTwips(frame->y())));
        UlozInfo(QStringLiteral("PrehledWindowLeft"), QString::number(sys::toTwips(frame->x())));
        UlozInfo(QStringLiteral("PrehledWindowWidth"), QString::number(sys::toTwips(frame->width())));
        UlozInfo(QStringLiteral("PrehledWindowHeight"), QString::number(sys::toTwips(frame->height())));
    }
    Prehled().Odpoj(this);
}

void frmPrehled::NactiData()
{
    const std::optional<qint32> section = AktualniSekce();
    if (!section) {
        VEdit->Clear();
        return;
    }
    const std::optional<qint32> limit = LimitZaznamu();
    Prehled().NastavDotaz(SestavDotazPrehledu(*section, NactiDefinice(*Db, *section), QString(), limit));
    const DotazPrehledu &query = Prehled().Dotaz();
    SloupecPopisu = query.SloupecPopisu;
    lblPopis->setText(query.TitulekPopisu.value_or(PrelozText(QStringLiteral("222,Popis"))));

    // The grid is set up while the records are read.
    const auto prepare = [this, section] {
        VEdit->SetData(Db.get());
        VEdit->SetLang(Preklady.get());
        VEdit->GridName(QStringLiteral("frmPrehled_Sekce") + QString::number(*section));
        VEdit->UserName(Uzivatel);
        VEdit->SortCol(true, 1);
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
    };
    bool superseded = false;
    readRows(query, false, &superseded, prepare);
    if (!superseded)
        VEdit->show();
    // The selection's rows are of use while there are records to select.
    if (frmVyber *selection = frmVyber::Loaded())
        selection->fraVyber->setEnabled(true);
}

void frmPrehled::NastavSloupce(bool define)
{
    if (!define)
        return;
    const std::vector<SloupecPrehledu> &columns = Prehled().SloupcePrehledu();
    const quint8 pocet = Prehled().PocetSloupcu();
    VEdit->Redraw(false);
    VEdit->Init(pocet + 1, 1);
    VEdit->SetCol(0, QStringLiteral("Inter"), 0, QStringLiteral("S"), QStringLiteral("Katalog.Inter"), QStringLiteral("N"), 0,
                  QString(), false, false, false);
    for (size_t i = 1; i < columns.size(); ++i) {
        const SloupecPrehledu &c = columns[i];
        VEdit->SetCol(qint32(i), c.Titulek, 2000, c.Zarovnani, QStringLiteral("Katalog.") + c.Jmeno, c.Typ, 50);
    }
    VEdit->SetCol(pocet, QStringLiteral("Update"), 0, QStringLiteral("S"), QStringLiteral("Update"), QStringLiteral("C"),
                  0, QString(), false, false, false);
    VEdit->Redraw(true);
}

void frmPrehled::UkazPodminku()
{
    const AktualniPrehled &prehled = Prehled();
    VEdit->Where(prehled.Podminka());
    VEdit->WhereText(prehled.Podminka().isEmpty()
                         ? QString()
                         : PrelozText(QStringLiteral("370,Výběr pro:")) + QStringLiteral("  ") + prehled.TextPodminky());
}

void frmPrehled::ZaznamZmenen(AktualniPrehled::Zmena zmena, qint32 klic, const QStringList &texty)
{
    // A deleted row goes with the control's own delete; the commands on the selected
    // records load the section anew.
    const bool loading = Nacita() && !m_rowsEnded;
    if (zmena == AktualniPrehled::Zmena::Pridan) {
        PridejRadek(texty);
        if (loading)
            m_changed[klic] = Zmeneny{true, false, {}};
    } else if (zmena == AktualniPrehled::Zmena::Ulozen) {
        const bool shown = PrepisRadek(klic, texty);
        if (loading)
            m_changed[klic] = Zmeneny{shown, false, shown ? QStringList() : texty};
    } else if (loading && klic != 0) {
        m_changed[klic] = Zmeneny{false, true, {}};
    }
}

void frmPrehled::PridejRadek(const QStringList &texty)
{
    VEdit->AddData(texty.join(QLatin1Char('\t')) + QStringLiteral("\tX"));
    if (!VEdit->AddError())
        VEdit->SetRecords(VarnexEditUni::CounterText(VEdit->LiveRows(), 0));
    // The first record of an empty section takes the place of the empty row under the cursor.
    UkazPopis();
}

bool frmPrehled::PrepisRadek(qint32 klic, const QStringList &texty)
{
    const QString key = QString::number(klic);
    // The record's own row, wherever the cursor went meanwhile.
    for (qint32 row = 1; row < VEdit->Rows(); ++row) {
        if (VEdit->TMatrix(row, 0) != key)
            continue;
        for (qint32 c = 1; c <= VEdit->Cols() - 2 && c < texty.size(); ++c)
            VEdit->TMatrix(row, c, texty[c]);
        UkazPopis();
        return true;
    }
    return false;
}

void frmPrehled::showDescription(const QString &text)
{
    txtPopis->setText(text);
}

void frmPrehled::UkazPopis()
{
    const int row = VEdit->Row();
    showDescription(SloupecPopisu > 0 && SloupecPopisu < VEdit->Cols() && VEdit->LiveRow(row)
                        ? VEdit->TMatrix(row, SloupecPopisu)
                        : QString());
}

void frmPrehled::VEdit_RowChange()
{
    // Inside a load the grid moves its cursor itself while emptying, onto rows that are
    // going; the load shows the strip of the row it leaves current. Events let run there
    // could unload this window under the control's own call.
    if (m_reading == 0) {
        UkazPopis();
        QCoreApplication::processEvents();
    }
    tmr->stop();
    tmr->start();
}

void frmPrehled::VEdit_Vybrano(Variant &cWhere)
{
    const QString condition = cWhere.IsEmpty() || cWhere.IsNull() ? QString() : cWhere.toString();
    // The control words its own selection; the condition comes into force once loaded.
    // Its emptying goes whatever the load did, as the control empties its own.
    if (Prehled().ZobrazVyber(condition, QString()) != Vyber::Nacteno && !condition.isEmpty())
        cWhere = Variant(QString());
    if (condition.isEmpty())
        Prehled().ZrusPodminku();
}

frmPrehled::Vyber frmPrehled::NactiVyber(const QString &podminka, bool iNic)
{
    const std::optional<qint32> section = AktualniSekce();
    if (!section)
        return Vyber::Odmitnuto;
    const std::optional<qint32> limit = LimitZaznamu();
    try {
        // The section's filter comes first and the condition stands in parentheses
        // after it: a condition joined with "or" stays inside the section.
        const DotazPrehledu query = SestavDotazPrehledu(*section, NactiDefinice(*Db, *section), podminka, limit);
        return readRows(query, !podminka.trimmed().isEmpty() && !iNic);
    } catch (const VbError &e) {
        return JeZamceno(e) ? Vyber::Zamceno : Vyber::Odmitnuto;
    }
}

void frmPrehled::VEdit_Refresh()
{
    // Records stored or removed meanwhile (by another workstation, say) show as they
    // are now; a selection they no longer meet shows no row, and stays in force.
    if (NactiVyber(Prehled().Podminka(), true) == Vyber::Odmitnuto)
        Pipni(400, 150);
}

void frmPrehled::tmr_Timer()
{
    tmr->stop();
    if (NahledOtevren())
        frmNahled::Form().NactiZalozky();
}

qint32 frmPrehled::AktualniKlic() const
{
    // A row without a key (none, or the empty grid) is no record.
    return qint32(vbVal(VEdit->Row() > 0 && VEdit->Row() < VEdit->Rows() ? VEdit->RData(0) : QString()));
}

std::vector<int> frmPrehled::SirkySloupcu() const
{
    std::vector<int> widths;
    for (size_t i = 1; i < Prehled().SloupcePrehledu().size(); ++i)
        widths.push_back(VEdit->ColWidth(qint32(i)));
    return widths;
}

void frmPrehled::VEdit_DblClick()
{
    // The control reports double clicks on data rows only.
    if (const qint32 key = AktualniKlic(); key != 0)
        frmDetail::Zobraz(key);
}

void frmPrehled::vEdit_Record(qint16 &Index)
{
    const bool naZaznamu = Index == 0 || Index == 1 || Index == 2 || Index == 4 || Index == 5 || Index == 7;
    if (naZaznamu) {
        const qint32 key = AktualniKlic();
        if (key == 0) {
            Pipni(400, 150);
            return;
        }
        // The attachment of the preview's selected tab, by its number; none on the note
        // tab or with the preview closed.
        const qint32 priloha = NahledOtevren() ? frmNahled::Form().VybranaPriloha() : 0;
        if (Index == 0) {
            frmEditace::Form().Zobraz(key, false);
        } else if (Index == 1) {
            if (MsgBox(PrelozText(QStringLiteral("399,Zkopírovat a upravit záznam?")), vbOKCancel | vbInformation,
                       windowTitle()) == vbOK)
                frmEditace::Form().Zobraz(key, true);
        } else if (Index == 2) {
            // The control asks, then reports each row it deletes (VEdit_Smazano).
            const QPointer<frmPrehled> alive(this);
            VEdit->Delete();
            if (!alive)
                return;
        } else if (Index == 4 && priloha == 0) {
            Pipni(400, 150);
        } else if (Index == 4 || Index == 5) {
            frmPriradObr &window = frmPriradObr::Form();
            window.LoadForm(key, Index == 4 ? priloha : 0);
            window.exec();
        } else if (Index == 7) {
            frmTisk::Form().TiskDet(key, qint16(priloha));
        }
    }
    // The strip and the preview follow the record the command left current.
    UkazPopis();
    if (NahledOtevren()) {
        frmNahled &preview = frmNahled::Form();
        preview.NactiZalozky();
        preview.tmr_Timer();
    }
}

void frmPrehled::VEdit_Smazano()
{
    const qint32 key = AktualniKlic();
    if (key == 0)
        return;
    try {
        SmazZaznam(*Ws, *Db, key);
    } catch (const VbError &e) {
        MsgBox(e.Description(), vbCritical, windowTitle());
        return;
    }
    Prehled().OznamZmenu(AktualniPrehled::Zmena::Smazan, key);
}

void frmPrehled::VEdit_DefaultHeader(ColumnTable &aDefHeader)
{
    const std::optional<qint32> section = AktualniSekce();
    if (!section)
        return;
    const std::vector<SloupecPrehledu> &columns = Prehled().SloupcePrehledu();
    for (int i = 1; i <= aDefHeader.UBound() - 1 && i < int(columns.size()); ++i) {
        auto row = Db->OpenRecordset(VychoziHlavickaSql(*section, columns[size_t(i)].Jmeno));
        if (row->Eof())
            continue;
        const Variant nazev = (*row)[QStringLiteral("nazev")];
        aDefHeader(3, i) = Variant(nazev.IsNull() ? QString() : nazev.toString());
        const Variant current = aDefHeader(4, i);
        const QString letter = current.IsString() ? current.stringValue() : QString();
        if (letter == QLatin1String("L") || letter == QLatin1String("R") || letter == QLatin1String("C")) {
            const Variant zarovnani = (*row)[QStringLiteral("zarovnani")];
            aDefHeader(4, i) = Variant(zarovnani.IsNull() ? QString() : zarovnani.toString());
        }
    }
}

void frmPrehled::VEdit_ChangeHeader()
{
    const std::optional<qint32> section = AktualniSekce();
    if (!section)
        return;
    frmVyber *selection = frmVyber::Loaded();
    AktualniPrehled &prehled = Prehled();
    for (int i = 1; i < int(prehled.PocetSloupcu()) && i < int(prehled.SloupcePrehledu().size()); ++i) {
        const qint16 align = VEdit->ColAlign(i);
        const QString letter = align == 4 ? QStringLiteral("C") : align == 7 ? QStringLiteral("R") : QStringLiteral("L");
        const QString caption = VEdit->TMatrix(0, i);
        Db->Execute(ZmenaHlavickySql(*section, prehled.SloupcePrehledu()[size_t(i)].Jmeno, caption, letter));
        if (Db->RecordsAffected() <= 0)
            continue;
        if (selection && size_t(i) < selection->lbl.size() && selection->lbl[size_t(i)])
            selection->lbl[size_t(i)]->setText(caption);
        prehled.ZmenSloupec(size_t(i), caption, letter);
    }
    NastavSloupce(false);
}

