#include "setup/frmSekce.h"

#include "VarnexEditUni.h"
#include "common/SaveBox.h"
#include "common/globals.h"
#include "data/currentoverview.h"
#include "common/translation.h"
#include "common/utility.h"
#include "dao.h"
#include "data/sections.h"
#include "msgbox.h"
#include "setup/boxkeys.h"
#include "system.h"
#include "variant.h"
#include "vberror.h"
#include "waitcursor.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include <optional>

namespace {

const QString kUlozeno = QStringLiteral("X");
const QString kNovy = QStringLiteral("N");
const QString kZmeneny = QStringLiteral("U");
const QString kSmazany = QStringLiteral("D");

}  // namespace

frmSekce::frmSekce()
    : ModalForm(mainWindow())
{
    setObjectName(QStringLiteral("frmSekce"));
    setWindowTitle(QStringLiteral("57,Definice sekcí"));

    VEdit = new VarnexEditUni(this);
    VEdit->setObjectName(QStringLiteral("VEdit"));
    VEdit->EnableSelect(true);
    VEdit->EnableSort(true);
    VEdit->MergeCells(VeMergeNever);
    VEdit->WordWrap(false);
    VEdit->FillStyle(1);
    VEdit->FocusRect(2);
    QFont font(QStringLiteral("MS Sans Serif"), 8);
    font.setBold(true);
    VEdit->Font(font);
    VEdit->setMinimumSize(sys::toPixels(6300), sys::toPixels(4500));
    connect(VEdit, &VarnexEditUni::AddRow, this, &frmSekce::VEdit_AddRow);
    connect(VEdit, &VarnexEditUni::Smazat, this, &frmSekce::VEdit_Smazat);
    connect(VEdit, &VarnexEditUni::Change, this, &frmSekce::VEdit_Change);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(VEdit, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    const auto button = [&](const char *name, const char *caption, const char *tip) {
        return TlacitkoRadku(*this, *buttons, name, caption, tip);
    };
    cmdSave = button("cmdSave", "20,Uložit", "352,Uložení změn");
    cmdOK = button("cmdOK", "18,OK", "353,Uložení změn a ukončení formuláře");
    cmdEnd = button("cmdEnd", "17,Konec", "347,Ukončení aktualizace číselníků");
    layout->addLayout(buttons);
    connect(cmdSave, &QPushButton::clicked, this, [this] { UlozZmeny(false); });
    connect(cmdOK, &QPushButton::clicked, this, [this] {
        if (UlozZmeny(true))
            close();
    });
    connect(cmdEnd, &QPushButton::clicked, this, &QWidget::close);
}

void frmSekce::Zobraz()
{
    Form_Load();
    ZobrazModalne();
}

void frmSekce::Form_Load()
{
    VEdit->SetData(Db.get());
    VEdit->SetLang(Preklady.get());
    VEdit->UserName(Uzivatel);
    VEdit->Edited(1);
    // Update mode alone leaves the control's row buttons as they were.
    VEdit->CmdAddVisible(true);
    VEdit->CmdDelVisible(true);
    NastavGridSekce();
    NactiSekceGrid();
    m_zmeneno = false;
    PrelozFormular(*this, 0);
}

void frmSekce::NastavGridSekce()
{
    VEdit->Init(3, 0);
    VEdit->SetCol(0, PrelozText(QStringLiteral("299,sekce")), 0, QStringLiteral("S"), QStringLiteral("sekce"),
                  QStringLiteral("N"), 0, QString(), false, false, false);
    VEdit->SetCol(1, PrelozText(QStringLiteral("162,Název sekce")), 5700, QStringLiteral("L"), QStringLiteral("Nazev"),
                  QStringLiteral("C"), DelkaNazvuSekce);
    VEdit->SetCol(2, PrelozText(QStringLiteral("356,Update")), 0, QStringLiteral("S"), QStringLiteral("Update"),
                  QStringLiteral("C"), 0, QString(), false, false, false);
}

void frmSekce::NactiSekceGrid()
{
    const WaitCursor wait;
    const std::vector<RadekSekce> sections = SeznamSekci(*Db);
    VEdit->Redraw(false);
    VEdit->Clear();
    for (const RadekSekce &section : sections) {
        VEdit->AddData(section.Sekce.toString() + QLatin1Char('\t') + section.Nazev.toString() + QLatin1Char('\t') + kUlozeno);
        if (VEdit->AddError())
            break;
    }
    VEdit->Col(1);
    VEdit->Redraw(true);
}

qint32 frmSekce::klic(qint32 row) const
{
    // The key column is the window's own; a cell that is no number names no stored section.
    return VEdit->TMatrix(row, 0).toInt();
}

bool frmSekce::UlozZmeny(bool bezHlaseni)
{
    if (!NazvyRozlisitelne() || !UlozSekce())
        return false;
    if (!bezHlaseni)
        SaveBox::Form().exec();
    m_zmeneno = false;
    VEdit->IsChanged(false);
    return true;
}

bool frmSekce::NazvyRozlisitelne()
{
    // The rows as the save would leave them: deleted ones are gone, renamed ones count
    // with their new names.
    std::vector<QString> names;
    std::vector<qint32> rows;
    const qint32 state = VEdit->Cols() - 1;
    for (qint32 i = 1; i < VEdit->Rows(); ++i) {
        if (VEdit->TMatrix(i, state) == kSmazany || VEdit->DeletedRow(i))
            continue;
        names.push_back(VEdit->TMatrix(i, 1));
        rows.push_back(i);
    }
    const std::optional<NerozlisenyNazev> fault = NerozlisitelnyNazev(names);
    if (!fault)
        return true;
    MsgBox(fault->Duvod == NerozlisenyNazev::Prazdny
               ? PrelozText(QStringLiteral("529,Sekce musí mít název."))
               : PrelozText(QStringLiteral("530,Sekce tohoto názvu již existuje:")) + QLatin1Char(' ')
                     + names[fault->Index].trimmed(),
           vbExclamation, windowTitle());
    VEdit->Row(rows[fault->Index]);
    VEdit->Col(1);
    VEdit->setFocus();
    return false;
}

bool frmSekce::UlozSekce()
{
    std::optional<WaitCursor> wait(std::in_place);
    const qint32 state = VEdit->Cols() - 1;
    for (qint32 i = 1; i < VEdit->Rows(); ++i) {
        const QString stav = VEdit->TMatrix(i, state);
        if (stav != kZmeneny && stav != kNovy && stav != kSmazany)
            continue;
        try {
            if (stav == kZmeneny) {
                PrejmenujSekci(*Db, klic(i), VEdit->TMatrix(i, 1));
            } else if (stav == kNovy) {
                // The number goes into the row at once: a rename or delete of the row in
                // this same opening of the window must reach the section just made.
                VEdit->TMatrix(i, 0, QString::number(VlozSekci(*Ws, *Db, VEdit->TMatrix(i, 1))));
            } else if (klic(i) != 0) {
                // A row added and deleted again before a save was never stored.
                SmazSekci(*Ws, *Db, klic(i));
            }
        } catch (const VbError &e) {
            // What is written stays written; the rows from this one on keep their changes
            // for the next save.
            wait.reset();
            MsgBox(PrelozText(QStringLiteral("483,Při ukládání sekcí došlo k chybě. Uloženy jsou jen řádky před sekcí:"))
                       + QStringLiteral(" ") + VEdit->TMatrix(i, 1) + QLatin1Char('\n') + e.Description(),
                   vbCritical, windowTitle());
            return false;
        }
        VEdit->TMatrix(i, state, kUlozeno);
    }
    return true;
}

void frmSekce::VEdit_AddRow(QString &AddString)
{
    // Deleted rows still in the grid count until a save and a new opening let them go.
    if (VEdit->Rows() > MaxSekci) {
        MsgBox(PrelozText(QStringLiteral("48,Další sekci nelze přidat")), vbExclamation, windowTitle());
        AddString.clear();
        return;
    }
    AddString = QStringLiteral("0\t\t") + kNovy;
}

void frmSekce::VEdit_Smazat(bool &Cancel)
{
    const qint32 from = std::min(VEdit->Row(), VEdit->RowSel());
    const qint32 to = std::max(VEdit->Row(), VEdit->RowSel());
    std::optional<qint32> current;
    ignoreErrors([&] { current = AktualniSekce(); });
    for (qint32 i = std::max(from, 1); i <= to && i < VEdit->Rows(); ++i) {
        const qint32 sekce = klic(i);
        if (sekce == 0 || VEdit->DeletedRow(i))
            continue;
        if (SekceMaZaznamy(*Db, sekce)) {
            MsgBox(PrelozText(QStringLiteral("232,Pro tuto sekci jsou v katalogu navedeny záznamy. Sekci nelze zrušit")),
                   vbExclamation, windowTitle());
            Cancel = true;
            return;
        }
        // The main window works on its section until the user chooses another; without
        // its row, new records would go to a section that no longer exists.
        if (current == sekce) {
            MsgBox(PrelozText(QStringLiteral("491,Zobrazenou sekci nelze zrušit. Přepněte na jinou sekci a akci opakujte.")),
                   vbExclamation, windowTitle());
            Cancel = true;
            return;
        }
    }
}

void frmSekce::VEdit_Change(Variant &, Variant &)
{
    m_zmeneno = true;
}

void frmSekce::Form_QueryUnload(bool &Cancel)
{
    Cancel = m_zmeneno && !ZahoditZmeny(*this);
}
