#include "frmShowHide.h"

#include "VarnexEditUni.h"
#include "layoutstore.h"
#include "libroutines.h"
#include "msgbox.h"
#include "vberror.h"
#include "waitcursor.h"

#include <QCloseEvent>
#include <QPushButton>

namespace {

// The window's design, in pixels (15 twips each).
constexpr int px(int twips) { return twips / 15; }

QString text(const Variant &v)
{
    return v.IsNull() || v.IsEmpty() ? QString() : v.toString();
}

// What S_Grid.Nazev holds: a caption typed here is kept within it.
constexpr qint16 kCaptionLength = 20;

}  // namespace

namespace tabulix {

frmShowHide::frmShowHide(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frmShowHide"));
    setWindowTitle(QStringLiteral("Nastavení položek přehledu"));
    setFixedSize(px(6195), px(6135));
    VSHinUC = new VarnexEditUni(this);
    VSHinUC->setObjectName(QLatin1String(VarnexEditUni::ChooserInstanceName));
    VSHinUC->setGeometry(px(60), px(120), px(6045), px(5085));
    const auto button = [this](const char *name, const char *caption, const char *tip, int left, int width) {
        auto *b = new QPushButton(QString::fromUtf8(caption), this);
        b->setObjectName(QLatin1String(name));
        if (*tip)
            b->setToolTip(QString::fromUtf8(tip));
        b->setGeometry(px(left), px(5400), px(width), px(675));
        b->setAutoDefault(false);
        return b;
    };
    cmdDefault = button("cmdDefault", "374,Výchozí nastavení", "", 60, 1695);
    cmdOK = button("cmdOK", "18,OK", "353,Uložení změn a ukončení formuláře", 4170, 975);
    cmdKonec = button("cmdKonec", "17,Konec", "346,Ukončení aktualizace", 5160, 975);
    connect(cmdDefault, &QPushButton::clicked, this, &frmShowHide::cmdDefault_Click);
    connect(cmdOK, &QPushButton::clicked, this, [this] {
        if (SaveLayout())
            close();
    });
    connect(cmdKonec, &QPushButton::clicked, this, &QWidget::close);
    connect(VSHinUC, &VarnexEditUni::Change, this, [this](Variant &, Variant &NewValue) { VSHinUC_Change(text(NewValue)); });
}

QString frmShowHide::alignText(const QString &letter) const
{
    if (letter == QLatin1String("L"))
        return m_left;
    if (letter == QLatin1String("C"))
        return m_centre;
    if (letter == QLatin1String("R"))
        return m_right;
    if (letter == QLatin1String("N") || letter == QLatin1String("S"))
        return letter;
    return {};
}

QString frmShowHide::alignLetter(const QString &shown) const
{
    if (shown == m_left)
        return QStringLiteral("L");
    if (shown == m_centre)
        return QStringLiteral("C");
    if (shown == m_right)
        return QStringLiteral("R");
    if (shown == QLatin1String("N") || shown == QLatin1String("S"))
        return shown;
    return {};
}

void frmShowHide::Form_Load()
{
    m_yes = PrelozText(QStringLiteral("440,Ano"));
    m_no = PrelozText(QStringLiteral("441,Ne"));
    m_left = PrelozText(QStringLiteral("363,Vlevo"));
    m_centre = PrelozText(QStringLiteral("442,Střed"));
    m_right = PrelozText(QStringLiteral("365,Vpravo"));
    VSHinUC->SetData(m_db);
    VSHinUC->Edited(1);
    VSHinUC->CmdAddVisible(false);
    VSHinUC->CmdDelVisible(false);
    SetupColumns();
    FillRows();
    m_zmeneno = false;
    PrelozFormular(this, 0);
}

void frmShowHide::SetupColumns()
{
    VSHinUC->Init(6, 2);
    VSHinUC->Redraw(false);
    VSHinUC->SetCol(0, QStringLiteral("ColName"), 0, QStringLiteral("N"), QStringLiteral("S_Grid.ColName"), QStringLiteral("N"), 0,
                    QString(), false, false, false);
    VSHinUC->SetCol(1, QStringLiteral("ColWidth"), 0, QStringLiteral("N"), QStringLiteral("S_Grid.ColWidth"), QStringLiteral("N"), 0,
                    QString(), false, false, false);
    VSHinUC->SetCol(2, PrelozText(QStringLiteral("411,Zobrazit")), 900, QStringLiteral("L"), QStringLiteral("S_Grid.Show"),
                    QStringLiteral("L"), 1, QString(), true, true, true);
    VSHinUC->SetCol(3, PrelozText(QStringLiteral("444,Záhlaví")), 2500, QStringLiteral("L"), QStringLiteral("S_Grid.Nazev"),
                    QStringLiteral("C"), kCaptionLength, QString(), false, true, true);
    VSHinUC->SetCol(4, PrelozText(QStringLiteral("394,Zarovnání")), 1500, QStringLiteral("L"), QStringLiteral("S_Grid.Zarovnani"),
                    QStringLiteral("C"), 10, QString(), true, true, true);
    VSHinUC->SetCol(5, QStringLiteral("Update"), 0, QStringLiteral("N"), QStringLiteral("Update"), QStringLiteral("C"), 0,
                    QString(), false, false, false);
    for (const QString &item : {m_yes, m_no})
        VSHinUC->CiselnikNapln(2, item);
    for (const QString &item : {m_left, m_right, m_centre})
        VSHinUC->CiselnikNapln(4, item);
    VSHinUC->Redraw(true);
}

void frmShowHide::addRow(int i, const QString &column, const QString &width, bool shown, const QString &caption,
                         const QString &alignShown)
{
    VSHinUC->AddData(QStringList{column, width, shown ? m_yes : m_no, caption, alignShown, QStringLiteral("X")}.join(QLatin1Char('\t')));
    if (i <= PoleDefault.UBound() && text(PoleDefault(VarnexEditUni::LayAlign, i)) == QLatin1String("S")) {
        VSHinUC->Row(VSHinUC->Rows() - 1);
        VSHinUC->HideRow();
    }
}

void frmShowHide::FillRows()
{
    const WaitCursor wait;
    VSHinUC->Redraw(false);
    VSHinUC->Clear();
    std::vector<layoutstore::Row> stored;
    if (m_db)
        stored = layoutstore::readAll(*m_db, GridName, UserName);
    const int last = PoleZmen.UBound();
    const auto width = [this](int i) { return PoleZmen(VarnexEditUni::LayWidth, i); };
    const auto shown = [&width](int i) { return width(i).toDouble() > 0; };
    int i = 0;
    for (size_t s = 0; s < stored.size() && i <= last; ++s, ++i) {
        const layoutstore::Row &row = stored[s];
        const QString storedAlign = alignText(row.align.value_or(QString()));
        if (row.column == text(PoleZmen(VarnexEditUni::LayData, i))) {
            const QString caption = row.caption.trimmed();
            addRow(i, row.column, row.width, shown(i),
                   caption.isEmpty() && i <= PoleDefault.UBound() ? text(PoleDefault(VarnexEditUni::LayCaption, i)) : caption,
                   storedAlign);
        } else {
            addRow(i, text(PoleZmen(VarnexEditUni::LayData, i)), text(width(i)), shown(i),
                   text(PoleZmen(VarnexEditUni::LayCaption, i)), storedAlign);
        }
    }
    // Columns beyond the stored rows, or all of them when none is stored: their own
    // alignment in the current layout.
    for (; i <= last; ++i)
        addRow(i, text(PoleZmen(VarnexEditUni::LayData, i)), text(width(i)), shown(i), text(PoleZmen(VarnexEditUni::LayCaption, i)),
               alignText(text(PoleZmen(VarnexEditUni::LayAlign, i))));
    VSHinUC->FirstCol(1);
    VSHinUC->Redraw(true);
    // After the redraw, which counts the rows again: the list of columns needs no counter.
    VSHinUC->SetRecords(QString());
}

void frmShowHide::VSHinUC_Change(const QString &newValue)
{
    if (VSHinUC->Col() == 2) {
        const int r = VSHinUC->Row();
        QString width = QStringLiteral("0");
        if (newValue == m_yes && r - 1 <= PoleZmen.UBound()) {
            // The width the column had when the chooser opened, else its default one.
            const Variant current = PoleZmen(VarnexEditUni::LayWidth, r - 1);
            width = current.toDouble() != 0 || r - 1 > PoleDefault.UBound() ? text(current)
                                                                            : text(PoleDefault(VarnexEditUni::LayWidth, r - 1));
        }
        VSHinUC->TMatrix(r, 1, width);
    }
    m_zmeneno = true;
}

void frmShowHide::cmdDefault_Click()
{
    const WaitCursor wait;
    VSHinUC->Redraw(false);
    if (m_control)
        m_control->DefaultHeader(PoleDefault);
    VSHinUC->Clear();
    for (int i = 0; i <= PoleDefault.UBound(); ++i) {
        const Variant width = PoleDefault(VarnexEditUni::LayWidth, i);
        addRow(i, text(PoleDefault(VarnexEditUni::LayData, i)), text(width), width.toDouble() > 0,
               text(PoleDefault(VarnexEditUni::LayCaption, i)), alignText(text(PoleDefault(VarnexEditUni::LayAlign, i))));
    }
    VSHinUC->Redraw(true);
    VSHinUC->SetRecords(QString());
}

bool frmShowHide::SaveLayout()
{
    const int rows = VSHinUC->Rows();
    bool anyShown = false;
    for (int r = 1; r < rows && !anyShown; ++r)
        anyShown = VSHinUC->TMatrix(r, 2) == m_yes;
    if (!anyShown) {
        MsgBox(PrelozText(QStringLiteral("443,Minimálně jedna položka přehledu musí být zobrazena.")), vbExclamation, windowTitle());
        return false;
    }
    std::vector<layoutstore::Row> layout;
    for (int r = 1; r < rows; ++r) {
        const QString letter = alignLetter(VSHinUC->TMatrix(r, 4));
        layout.push_back({VSHinUC->TMatrix(r, 0), VSHinUC->TMatrix(r, 1), VSHinUC->TMatrix(r, 3),
                          letter.isEmpty() ? std::nullopt : std::optional<QString>(letter)});
    }
    try {
        if (m_db)
            layoutstore::replaceAll(*m_db, GridName, UserName, layout);
        PoleZmen.Grow(int(layout.size()) - 1);
        for (size_t c = 0; c < layout.size(); ++c) {
            PoleZmen(VarnexEditUni::LayWidth, int(c)) = layout[c].width;
            PoleZmen(VarnexEditUni::LayCaption, int(c)) = layout[c].caption;
            PoleZmen(VarnexEditUni::LayAlign, int(c)) = layout[c].align ? Variant(*layout[c].align) : Variant::Null();
        }
    } catch (const VbError &e) {
        MsgBox(PrelozText(QStringLiteral("270,Při ukládání údajů došlo k chybě. Údaje nebyly uloženy.")) + QLatin1Char('\n')
                   + e.Description(),
               vbCritical, windowTitle());
        return false;
    }
    m_zmena = true;
    m_zmeneno = false;
    VSHinUC->IsChanged(false);
    return true;
}

void frmShowHide::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        m_zmena = false;
    QDialog::changeEvent(event);
}

void frmShowHide::reject()
{
    close();  // Esc closes through the unsaved-changes question
}

void frmShowHide::closeEvent(QCloseEvent *event)
{
    if (m_zmeneno
        && MsgBox(PrelozText(QStringLiteral("247,Provedené změny nebudou zapsány. Pokračovat?")), vbYesNo | vbQuestion, windowTitle())
               != vbYes) {
        event->ignore();
        return;
    }
    event->accept();
}

}  // namespace tabulix
