#include "setup/frmDefinice.h"

#include "VarnexEditUni.h"
#include "common/SaveBox.h"
#include "common/closequestion.h"
#include "common/globals.h"
#include "common/translation.h"
#include "common/utility.h"
#include "dao.h"
#include "data/fielddefinitions.h"
#include "data/sections.h"
#include "msgbox.h"
#include "setup/boxkeys.h"
#include "variant.h"
#include "vberror.h"
#include "waitcursor.h"

#include <QAction>
#include <QComboBox>
#include <QCursor>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QScopeGuard>
#include <QStyle>
#include <QTimer>
#include <QVBoxLayout>

bool frmDefinice::KonverzePotvrzena = false;

namespace {

// The grid's columns.
enum Sloupec : int {
    ColPoradi = 0, ColPol, ColZobraz, ColPopis, ColNazev, ColTypText, ColZarovnaniText, ColTyp, ColZarovnani, ColStav,
    ColPocet
};

struct Polozka {
    const char *text;
    const char *kod;
};
// The code lists in their order: a type and an alignment by their texts.
constexpr Polozka kTypy[] = {{"330,Text", "C"}, {"42,Číslo", "N"}, {"52,Datum", "D"}};
constexpr Polozka kZarovnani[] = {{"363,Vlevo", "L"}, {"143,Na střed", "C"}, {"365,Vpravo", "R"}};

QString preloz(const char *message)
{
    return PrelozText(QString::fromUtf8(message));
}

// A stored code's text; a code that is none of the first ones shows as the last.
template <size_t N>
QString textKodu(const Polozka (&list)[N], const QString &kod)
{
    for (size_t i = 0; i + 1 < N; ++i)
        if (kod == QLatin1String(list[i].kod))
            return preloz(list[i].text);
    return preloz(list[N - 1].text);
}

template <size_t N>
bool vSeznamu(const Polozka (&list)[N], const QString &text)
{
    for (const Polozka &p : list)
        if (preloz(p.text).compare(text, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

QString ano(bool on)
{
    return on ? QStringLiteral("A") : QStringLiteral("N");
}

// What a save's conversion does to the stored values, field by field with its caption
// and slot; empty when it leaves none behind and replaces none.
QString textDopadu(const std::vector<DopadKonverze> &dopad)
{
    QStringList lines;
    const auto part = [&](const char *heading, qint64 DopadKonverze::*count) {
        QStringList fields;
        for (const DopadKonverze &d : dopad) {
            if (d.*count == 0)
                continue;
            const QString pol = QStringLiteral("Pol") + QString::number(d.Zmena.Pole);
            const QString nazev = d.Zmena.Nazev.trimmed();
            const bool jenPole = nazev.isEmpty() || nazev.compare(pol, Qt::CaseInsensitive) == 0;
            fields << (jenPole ? pol : nazev + QStringLiteral(" (") + pol + QLatin1Char(')')) + QStringLiteral(": ")
                          + QString::number(d.*count);
        }
        if (!fields.isEmpty())
            lines << preloz(heading) << fields;
    };
    part("484,Počet hodnot, které nelze převést na nový datový typ a zůstanou beze změny:", &DopadKonverze::Neprevedene);
    part("500,Počet hodnot uložených v novém datovém typu, které převod přepíše:", &DopadKonverze::Prepsane);
    return lines.join(QLatin1Char('\n'));
}

}  // namespace

frmDefinice::frmDefinice()
    : ModalForm(mainWindow())
{
    setObjectName(QStringLiteral("frmDefinice"));
    setWindowTitle(QStringLiteral("Definice přehledu"));
    resize(820, 600);
    auto *layout = new QVBoxLayout(this);
    const auto button = [this](const char *name, const char *caption, const char *tip) {
        auto *b = new QPushButton(QString::fromUtf8(caption), this);
        b->setObjectName(QLatin1String(name));
        b->setToolTip(QString::fromUtf8(tip));
        b->setAutoDefault(false);
        return b;
    };

    auto *top = new QHBoxLayout;
    Label3 = new QLabel(QStringLiteral("300,Sekce"), this);
    Label3->setObjectName(QStringLiteral("Label3"));
    cmb = new QComboBox(this);
    cmb->setObjectName(QStringLiteral("cmb"));
    cmb->setMinimumWidth(260);
    Label3->setBuddy(cmb);
    cmdCopy = button("cmdCopy", "118,Kopie", "");
    top->addWidget(Label3);
    top->addWidget(cmb);
    top->addWidget(cmdCopy);
    top->addStretch(1);
    layout->addLayout(top);

    fraCopy = new QFrame(this);
    fraCopy->setObjectName(QStringLiteral("fraCopy"));
    fraCopy->setFrameShape(QFrame::StyledPanel);
    auto *copy = new QHBoxLayout(fraCopy);
    Label1 = new QLabel(QStringLiteral("400,Zkopírovat definici do sekce"), fraCopy);
    Label1->setObjectName(QStringLiteral("Label1"));
    cmbCopy = new QComboBox(fraCopy);
    cmbCopy->setObjectName(QStringLiteral("cmbCopy"));
    cmbCopy->setMinimumWidth(220);
    Label1->setBuddy(cmbCopy);
    cmdCopyOK = button("cmdCopyOK", "196,OK", "Kopírovat sekci");
    cmdCopyEnd = button("cmdCopyEnd", "111,Konec", "Ukončit bez kopírování");
    cmdCopyOK->setParent(fraCopy);
    cmdCopyEnd->setParent(fraCopy);
    copy->addWidget(Label1);
    copy->addWidget(cmbCopy);
    copy->addWidget(cmdCopyOK);
    copy->addWidget(cmdCopyEnd);
    copy->addStretch(1);
    fraCopy->hide();
    layout->addWidget(fraCopy);

    fraDefinice = new QFrame(this);
    fraDefinice->setObjectName(QStringLiteral("fraDefinice"));
    auto *definitions = new QHBoxLayout(fraDefinice);
    definitions->setContentsMargins(0, 0, 0, 0);
    VEdit = new VarnexEditUni(fraDefinice);
    VEdit->setObjectName(QStringLiteral("VEdit"));
    VEdit->EnableSelect(true);
    VEdit->EnableSort(true);
    VEdit->FillStyle(1);
    VEdit->FocusRect(2);
    VEdit->Font(QFont(QStringLiteral("MS Sans Serif"), 8));
    definitions->addWidget(VEdit, 1);
    Frame1 = new QFrame(fraDefinice);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    auto *side = new QVBoxLayout(Frame1);
    side->setContentsMargins(0, 0, 0, 0);
    cmdPN = button("cmdPN", "", "225,Posunout nahoru");
    cmdPD = button("cmdPD", "", "224,Posunout dolů");
    cmdPN->setIcon(style()->standardIcon(QStyle::SP_ArrowUp));
    cmdPD->setIcon(style()->standardIcon(QStyle::SP_ArrowDown));
    cmdVN = button("cmdVN", "374,Výchozí nastavení", "366,Vrátit do výchozího nastavení");
    for (QPushButton *b : {cmdPN, cmdPD, cmdVN})
        b->setParent(Frame1);
    side->addWidget(cmdPN);
    side->addWidget(cmdPD);
    side->addStretch(1);
    side->addWidget(cmdVN);
    definitions->addWidget(Frame1);
    layout->addWidget(fraDefinice, 1);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    cmdSave = button("cmdSave", "20,Uložit", "351,Uložení dat");
    cmdOK = button("cmdOK", "18,OK", "353,Uložení změn a ukončení formuláře");
    cmdEnd = button("cmdEnd", "17,Konec", "346,Ukončení aktualizace");
    for (QPushButton *b : {cmdSave, cmdOK, cmdEnd})
        buttons->addWidget(b);
    layout->addLayout(buttons);

    mnuFce = new QMenu(this);
    mnuFce->setObjectName(QStringLiteral("mnuFce"));
    mnuPN = mnuFce->addAction(QStringLiteral("225,Posunout nahoru"));
    mnuPN->setObjectName(QStringLiteral("mnuPN"));
    mnuPD = mnuFce->addAction(QStringLiteral("224,Posunout dolů"));
    mnuPD->setObjectName(QStringLiteral("mnuPD"));
    mnuVN = mnuFce->addAction(QStringLiteral("374,Výchozí nastavení"));
    mnuVN->setObjectName(QStringLiteral("mnuVN"));

    connect(cmb, &QComboBox::currentIndexChanged, this, [this] {
        if (!m_nacitani)
            NactiDefinice();
    });
    connect(cmdCopy, &QPushButton::clicked, this, &frmDefinice::cmdCopy_Click);
    connect(cmdCopyEnd, &QPushButton::clicked, this, &frmDefinice::cmdCopyEnd_Click);
    connect(cmdCopyOK, &QPushButton::clicked, this, &frmDefinice::cmdCopyOK_Click);
    connect(mnuPN, &QAction::triggered, this, [this] { posun(-1); });
    connect(mnuPD, &QAction::triggered, this, [this] { posun(1); });
    connect(mnuVN, &QAction::triggered, this, &frmDefinice::mnuVN_Click);
    connect(cmdPN, &QPushButton::clicked, mnuPN, &QAction::trigger);
    connect(cmdPD, &QPushButton::clicked, mnuPD, &QAction::trigger);
    connect(cmdVN, &QPushButton::clicked, mnuVN, &QAction::trigger);
    connect(cmdSave, &QPushButton::clicked, this, [this] { UlozDefinice(false); });
    connect(cmdOK, &QPushButton::clicked, this, [this] {
        if (UlozDefinice(true))
            close();
    });
    connect(cmdEnd, &QPushButton::clicked, this, &QWidget::close);

    connect(VEdit, &VarnexEditUni::BeforeEdit, this, &frmDefinice::VEdit_BeforeEdit);
    connect(VEdit, &VarnexEditUni::BeforeChange, this, &frmDefinice::VEdit_BeforeChange);
    connect(VEdit, &VarnexEditUni::CiselData, this, &frmDefinice::VEdit_CiselData);
    // A cell left as it was (a list closed on its own item) is no edit.
    connect(VEdit, &VarnexEditUni::Change, this, [this](Variant &OldValue, Variant &NewValue) {
        if (!(OldValue == NewValue))
            zmeneno(true);
    });
    connect(VEdit, &VarnexEditUni::MouseUp, this, &frmDefinice::VEdit_MouseUp);
    // The control's header menu runs within the press; the release, where the window's
    // menu opens, may follow it or may have gone to the menu, so the mark lasts only
    // until the events after the menu's closing have run.
    connect(VEdit->PopupFce(), &QMenu::aboutToShow, this, [this] { m_menuOvladace = true; });
    connect(VEdit->PopupFce(), &QMenu::aboutToHide, this, [this] {
        QTimer::singleShot(0, this, [this] { m_menuOvladace = false; });
    });
    // The grid always holds the 30 fields of a section.
    connect(VEdit, &VarnexEditUni::Smazat, this, [](bool &Cancel) { Cancel = true; });
}

QList<qint32> frmDefinice::Zobraz()
{
    frmDefinice &w = Form();
    w.Form_Load();
    return w.ZobrazModalne();
}

void frmDefinice::Form_Load()
{
    {
        m_nacitani = true;
        const auto done = qScopeGuard([this] { m_nacitani = false; });
        cmb->clear();
        cmbCopy->clear();
        std::vector<std::pair<QString, qint32>> sections;
        try {
            std::vector<std::pair<QString, qint32>> read;
            for (const RadekSekce &s : SeznamSekci(*Db))
                read.emplace_back(s.Nazev.IsNull() ? QString() : s.Nazev.toString(), s.Sekce.toLong());
            sections = std::move(read);
        } catch (const VbError &e) {
            MsgBox(e.Description(), vbCritical, preloz("54,Definice katalogu"));
        }
        for (const auto &[nazev, cislo] : sections) {
            cmb->addItem(nazev, cislo);
            cmbCopy->addItem(nazev, cislo);
        }
        cmb->setCurrentIndex(0);
        cmbCopy->setCurrentIndex(0);
    }
    setWindowTitle(preloz("54,Definice katalogu"));
    VEdit->SetData(Db.get());
    VEdit->SetLang(Preklady.get());
    VEdit->UserName(Uzivatel);
    VEdit->Edited(1);
    VEdit->CmdAddVisible(false);
    VEdit->CmdDelVisible(false);
    NastavGridDefinice();
    NactiDefinice();
    PrelozFormular(*this, 0);
}

void frmDefinice::NastavGridDefinice()
{
    VEdit->Init(ColPocet, 2);
    VEdit->Redraw(false);
    const QString s = QStringLiteral("S");
    const QString c = QStringLiteral("C");
    VEdit->SetCol(ColPoradi, QStringLiteral("Poradi"), 0, s, QStringLiteral("vychozidefinice.poradi"), QStringLiteral("N"), 0,
                  QString(), false, false, false);
    VEdit->SetCol(ColPol, QStringLiteral("Pol"), 0, s, QStringLiteral("vychozidefinice.pol"), c, 0, QString(), false, false,
                  false);
    VEdit->SetCol(ColZobraz, preloz("411,Zobrazit"), 900, c, QStringLiteral("vychozidefinice.zobraz"), QStringLiteral("Z"), 3,
                  QString(), true);
    VEdit->SetCol(ColPopis, preloz("222,Popis"), 900, c, QStringLiteral("vychozidefinice.detail"), QStringLiteral("Z"), 3,
                  QString(), true);
    VEdit->SetCol(ColNazev, preloz("161,Název"), 4500, QStringLiteral("L"), QStringLiteral("vychozidefinice.popis"), c, 50);
    VEdit->SetCol(ColTypText, preloz("51,Datový typ"), 1300, QStringLiteral("L"), QStringLiteral("vychozidefinice.typ"), c, 10,
                  QString(), true);
    for (const Polozka &p : kTypy)
        VEdit->CiselnikNapln(ColTypText, preloz(p.text), QLatin1String(p.kod));
    VEdit->SetCol(ColZarovnaniText, preloz("394,Zarovnání"), 1300, QStringLiteral("L"),
                  QStringLiteral("vychozidefinice.zarovnani"), c, 10, QString(), true);
    for (const Polozka &p : kZarovnani)
        VEdit->CiselnikNapln(ColZarovnaniText, preloz(p.text), QLatin1String(p.kod));
    VEdit->SetCol(ColTyp, QStringLiteral("datovytyp"), 0, s, QString(), c, 0, QString(), false, false, false);
    VEdit->SetCol(ColZarovnani, QStringLiteral("zarovnani"), 0, s, QString(), c, 0, QString(), false, false, false);
    VEdit->SetCol(ColStav, QStringLiteral("Update"), 0, s, QStringLiteral("Update"), c, 0, QString(), false, false, false);
    VEdit->Redraw(true);
}

void frmDefinice::NactiDefinice()
{
    const qint32 sekce = cmb->currentData().toInt();
    std::vector<RadekDefinice> rows;
    try {
        rows = NactiUlozeneDefinice(*Db, sekce);
    } catch (const VbError &e) {
        MsgBox(e.Description(), vbCritical, windowTitle());
    }
    Ulozeno = false;
    if (!rows.empty()) {
        NaplnGridDefinice(rows, QStringLiteral("X"));
        zmeneno(false);
        return;
    }
    NaplnGridDefinice(GenerovaneRadkyDefinice(), QStringLiteral("N"));
    zmeneno(true);
}

void frmDefinice::NaplnGridDefinice(const std::vector<RadekDefinice> &radky, const QString &stav)
{
    WaitCursor wait;
    VEdit->Redraw(false);
    VEdit->Clear();
    for (size_t i = 0; i < radky.size(); ++i) {
        const RadekDefinice &r = radky[i];
        VEdit->AddData(QStringList{QString::number(i + 1), r.Pol, ano(r.Zobraz), ano(r.Popis), r.Nazev,
                                   textKodu(kTypy, r.Typ), textKodu(kZarovnani, r.Zarovnani), r.Typ, r.Zarovnani, stav}
                           .join(QLatin1Char('\t')));
    }
    VEdit->Row(1);
    VEdit->Redraw(true);
}

std::vector<RadekDefinice> frmDefinice::radkyGridu() const
{
    std::vector<RadekDefinice> rows;
    for (int i = 1; i < VEdit->Rows(); ++i)
        rows.push_back({VEdit->TMatrix(i, ColPol), VEdit->TMatrix(i, ColZobraz) == QLatin1String("A"),
                        VEdit->TMatrix(i, ColPopis) == QLatin1String("A"), VEdit->TMatrix(i, ColNazev),
                        VEdit->TMatrix(i, ColTyp), VEdit->TMatrix(i, ColZarovnani)});
    return rows;
}

void frmDefinice::zmeneno(bool changed)
{
    m_zmeneno = changed;
    cmb->setEnabled(!changed);
    cmdCopy->setEnabled(!changed);
}

void frmDefinice::ulozena(qint32 sekce)
{
    if (!Vysledek().contains(sekce))
        Vysledek().append(sekce);
}

bool frmDefinice::UlozDefinice(bool quiet)
{
    const std::vector<RadekDefinice> rows = radkyGridu();
    const qint32 sekce = cmb->currentData().toInt();
    try {
        QString dopad;
        {
            WaitCursor wait;
            dopad = textDopadu(DopadKonverzi(*Db, sekce, PlanKonverze(*Db, sekce, rows)));
        }
        // The values that stay behind in the old column, or that converted ones replace,
        // are the user's to weigh.
        if (!dopad.isEmpty()
            && MsgBox(dopad + QLatin1Char('\n') + preloz("220,Pokračovat?"), vbYesNo | vbExclamation,
                      preloz("401,Změna datového typu položky"))
                   != vbYes)
            return false;
        WaitCursor wait;
        UlozDefiniceSekce(*Ws, *Db, sekce, rows);
    } catch (const VbError &e) {
        MsgBox(preloz("270,Při ukládání údajů došlo k chybě. Údaje nebyly uloženy.") + QLatin1Char('\n') + e.Description(),
               vbCritical, windowTitle());
        return false;
    }
    ulozena(sekce);
    if (!quiet)
        SaveBox::Form().exec();
    zmeneno(false);
    VEdit->IsChanged(false);
    Ulozeno = true;
    return true;
}

bool frmDefinice::potvrdKonverzi()
{
    if (KonverzePotvrzena)
        return true;
    // A section without records has no values to convert; a failed look is no answer.
    try {
        if (!SekceMaZaznamy(*Db, cmb->currentData().toInt()))
            return true;
    } catch (const VbError &) {
    }
    if (MsgBox(preloz("273,Při změně datového typu bude provedena automatická konverze. Některé údaje nemusí být konvertovány.")
                   + QLatin1Char('\n') + preloz("220,Pokračovat?"),
               vbYesNo | vbExclamation, preloz("401,Změna datového typu položky"))
        != vbYes)
        return false;
    KonverzePotvrzena = true;
    return true;
}

void frmDefinice::posun(int smer)
{
    const int row = VEdit->Row();
    const int other = row + smer;
    if (other < 1 || other > VEdit->Rows() - 1 || row < 1) {
        Pipni(400, 150);
        return;
    }
    // Column 0 stays: the moved field takes the order number of its new place.
    for (int col = ColPol; col <= ColStav; ++col) {
        const QString mine = VEdit->TMatrix(row, col);
        VEdit->TMatrix(row, col, VEdit->TMatrix(other, col));
        VEdit->TMatrix(other, col, mine);
    }
    for (int col : {ColZobraz, ColPopis}) {
        VEdit->SetImg(row, col);
        VEdit->SetImg(other, col);
    }
    zmeneno(true);
    VEdit->Row(other);
    VEdit->setFocus();
}

void frmDefinice::mnuVN_Click()
{
    if (MsgBox(preloz("193,Obnovit původní nastavení katalogu?"), vbYesNo | vbExclamation, windowTitle()) != vbYes)
        return;
    // The default rows make every field a text: the same warning as an edit of a type.
    bool typesChange = false;
    for (int i = 1; i < VEdit->Rows(); ++i)
        typesChange = typesChange || VEdit->TMatrix(i, ColTyp).trimmed().toUpper() != QLatin1String("C");
    if (typesChange && !potvrdKonverzi())
        return;
    {
        WaitCursor wait;
        const std::vector<RadekDefinice> rows = VychoziRadkyDefinice();
        for (int i = 1; i < VEdit->Rows() && i <= int(rows.size()); ++i) {
            const RadekDefinice &r = rows[size_t(i - 1)];
            const QString cells[] = {r.Pol, ano(r.Zobraz), ano(r.Popis), r.Nazev, textKodu(kTypy, r.Typ),
                                     textKodu(kZarovnani, r.Zarovnani), r.Typ, r.Zarovnani};
            for (int col = ColPol; col <= ColZarovnani; ++col)
                VEdit->TMatrix(i, col, cells[col - ColPol]);
        }
        VEdit->ResetImg(ColZobraz);
        VEdit->ResetImg(ColPopis);
        zmeneno(true);
        VEdit->Row(1);
        VEdit->setFocus();
    }
    Pipni(400, 150);
}

void frmDefinice::cmdCopy_Click()
{
    cmdCopy->hide();
    fraDefinice->setEnabled(false);
    fraCopy->show();
}

void frmDefinice::cmdCopyEnd_Click()
{
    cmdCopy->show();
    fraDefinice->setEnabled(true);
    fraCopy->hide();
}

void frmDefinice::cmdCopyOK_Click()
{
    const qint32 zdroj = cmb->currentData().toInt();
    const qint32 cil = cmbCopy->currentData().toInt();
    const QString title = preloz("120,Kopie definice");
    if (zdroj == cil) {
        MsgBox(preloz("171,Nelze provést kopii do stejné sekce"), vbExclamation, title);
        return;
    }
    try {
        if (SekceMaZaznamy(*Db, cil)) {
            MsgBox(preloz("414,Zvolená sekce již obsahuje data. Kopii do této sekce nelze provést."), vbInformation, title);
            return;
        }
        if (MsgBox(preloz("123,Kopírovat definici katalogu ze sekce '") + QLatin1Char('\n') + cmb->currentText()
                       + preloz("2,'  do sekce  '") + cmbCopy->currentText() + QLatin1Char('\''),
                   vbYesNo | vbQuestion, title)
            != vbYes)
            return;
        WaitCursor wait;
        ZkopirujDefinice(*Ws, *Db, zdroj, cil);
    } catch (const VbError &e) {
        MsgBox(preloz("485,Kopii definice se nepodařilo provést. Definice sekcí zůstaly beze změny.") + QLatin1Char('\n')
                   + e.Description(),
               vbCritical, title);
        return;
    }
    ulozena(cil);
    Pipni(400, 150);
    MsgBox(preloz("119,Kopie byla provedena"), vbInformation, title);
    cmdCopyEnd_Click();
}

void frmDefinice::VEdit_BeforeEdit(Variant &, bool &Cancel)
{
    if (VEdit->Col() == ColTypText && !potvrdKonverzi())
        Cancel = true;
}

void frmDefinice::VEdit_BeforeChange(Variant &, Variant &NewValue, bool &Cancel)
{
    const int col = VEdit->Col();
    // A type or an alignment is one of its list: a typed text that is none is refused.
    if (col == ColTypText || col == ColZarovnaniText) {
        const QString typed = NewValue.IsNull() ? QString() : NewValue.toString().trimmed();
        if (!(col == ColTypText ? vSeznamu(kTypy, typed) : vSeznamu(kZarovnani, typed))) {
            Pipni(400, 150);
            Cancel = true;
        }
        return;
    }
    // One description field per section: marking a field clears the mark of the others.
    if (col == ColPopis && NewValue.IsString() && NewValue.stringValue() == QLatin1String("A")) {
        const int current = VEdit->Row();
        for (int i = 1; i < VEdit->Rows(); ++i) {
            if (i != current && VEdit->TMatrix(i, ColPopis) == QLatin1String("A")) {
                VEdit->TMatrix(i, ColPopis, QStringLiteral("N"));
                VEdit->SetImg(i, ColPopis);
            }
        }
    }
}

void frmDefinice::VEdit_CiselData(QString &Value)
{
    const int col = VEdit->Col();
    if (col == ColTypText)
        VEdit->TMatrix(VEdit->Row(), ColTyp, Value);
    else if (col == ColZarovnaniText)
        VEdit->TMatrix(VEdit->Row(), ColZarovnani, Value);
}

void frmDefinice::VEdit_MouseUp(qint16 &Button, qint16 &, float &, float &)
{
    // Any right click, but one on which the control showed its own header menu.
    if (Button == 2 && !m_menuOvladace)
        mnuFce->popup(QCursor::pos());
    m_menuOvladace = false;
}

void frmDefinice::Form_QueryUnload(bool &Cancel)
{
    Cancel = m_zmeneno && !ZavriSeZmenami(*this, [this] { return UlozDefinice(false); });
}
