#include "records/frmEditace.h"

#include "common/SaveBox.h"
#include "common/closequestion.h"
#include "common/errorreport.h"
#include "common/globals.h"
#include "common/translation.h"
#include "common/utility.h"
#include "dao.h"
#include "data/attachments.h"
#include "data/currentoverview.h"
#include "data/overviewquery.h"
#include "data/recordsave.h"
#include "data/selectioncondition.h"
#include "data/sqlliteral.h"
#include "msgbox.h"
#include "system.h"
#include "variant.h"
#include "vberror.h"
#include "waitcursor.h"

#include <QAbstractItemView>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <algorithm>

namespace {

// The design, in twips.
constexpr int kRowStep = 360;
constexpr int kBoxHeight = 330;
constexpr int kNoteHeight = 1005;
constexpr int kButtonWidth = 1215;
constexpr int kButtonHeight = 615;
constexpr int kButtonStep = 1290;
constexpr int kStripWidth = 2 * kButtonStep + kButtonWidth;
// A text field of the catalog holds this much; the database here would take more.
constexpr int kTextLength = 50;

QRect twips(int left, int top, int width, int height)
{
    return QRect(sys::toPixels(left), sys::toPixels(top), sys::toPixels(width), sys::toPixels(height));
}

}  // namespace

frmEditace::frmEditace()
{
    setObjectName(QStringLiteral("frmEditace"));
    setWindowTitle(QStringLiteral("33,Aktualizace záznamu"));

    lblPopis = new QLabel(QStringLiteral("222,Popis"), this);
    lblPopis->setObjectName(QStringLiteral("lblPopis"));
    txtPopis = new QPlainTextEdit(this);
    txtPopis->setObjectName(QStringLiteral("txtPopis"));
    txtPopis->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    txtPopis->setTabChangesFocus(true);

    fra = new QWidget(this);
    fra->setObjectName(QStringLiteral("fra"));
    const auto button = [this](const char *name, const char *caption, const char *tip, int left) {
        auto *b = new QPushButton(QString::fromUtf8(caption), fra);
        b->setObjectName(QLatin1String(name));
        b->setToolTip(QString::fromUtf8(tip));
        b->setGeometry(twips(left, 0, kButtonWidth, kButtonHeight));
        b->setAutoDefault(false);
        return b;
    };
    cmdSave = button("cmdSave", "20,Uložit", "351,Uložení dat", 0);
    cmdOK = button("cmdOK", "18,OK", "353,Uložení změn a ukončení formuláře", kButtonStep);
    cmdEnd = button("cmdEnd", "17,Konec", "346,Ukončení aktualizace", 2 * kButtonStep);
    connect(cmdSave, &QPushButton::clicked, this, [this] { UlozZaznam(false); });
    connect(cmdOK, &QPushButton::clicked, this, [this] {
        if (UlozZaznam(true))
            close();
    });
    connect(cmdEnd, &QPushButton::clicked, this, &QWidget::close);
}

frmEditace::~frmEditace() = default;

int frmEditace::ZaokrouhliSirku(int twips)
{
    for (int step = 500; step <= 3000; step += 500)
        if (twips <= step)
            return step;
    return 3500;
}

void frmEditace::Zobraz(qint32 pInter, bool pKopie)
{
    m_klic = pInter;
    m_kopie = pKopie;
    try {
        Form_Load();
    } catch (const VbError &e) {
        // The record cannot be read (a locked or damaged catalog): say so, open nothing.
        ZobrazChybu(e, windowTitle());
        close();
        return;
    }
    if (pInter == 0 && !pKopie)
        setWindowTitle(PrelozText(QStringLiteral("79,Editace nového záznamu")));
    ZobrazModalne();
}

void frmEditace::clearRows()
{
    for (QLabel *l : lbl)
        delete l;
    for (PoleBox *b : cmb)
        delete b;
    lbl.clear();
    cmb.clear();
}

void frmEditace::Form_Load()
{
    PrelozFormular(*this, 0);
    clearRows();
    m_dane.assign(2, DanaHodnota());

    // The overview's columns as the user sees them; with the overview closed, the
    // section's own, at the overview's default width.
    std::vector<int> widths;
    if (PrehledOtevren() && Prehled().SloupcePrehledu().size() > 1) {
        m_sloupce = Prehled().SloupcePrehledu();
        m_seznamPoli = Prehled().SeznamPoli();
        widths = Prehled().SirkySloupcu();
    } else {
        m_sloupce.assign(1, SloupecPrehledu());
        m_seznamPoli = QStringLiteral("Inter");
        if (const std::optional<qint32> section = AktualniSekce()) {
            const DotazPrehledu q = SestavDotazPrehledu(*section, NactiDefinice(*Db, *section));
            m_sloupce = q.Sloupce;
            m_seznamPoli = q.SeznamPoli;
        }
        widths.assign(m_sloupce.size() - 1, 2000);
    }
    // Read and let go: a statement left open holds the catalog's read lock, and while the
    // window stayed open no other workstation could save.
    const std::unique_ptr<dao::Recordset> zaznam = Db->OpenRecordset(DotazDetailu(m_seznamPoli, m_klic));
    const bool filled = m_klic > 0 && !zaznam->Eof();

    const int n = int(m_sloupce.size()) - 1;
    const int firstColumn = n <= 2 ? n : n / 2 + 1;
    const QFontMetrics metrics(font());
    const auto textWidth = [&metrics](const QString &text) { return sys::toTwips(metrics.horizontalAdvance(text)); };
    lbl.assign(2, nullptr);
    cmb.assign(2, nullptr);
    // The note's caption stands in column 1 too: its box starts after it as well.
    int w1 = textWidth(lblPopis->text()), w2 = 0, c1 = 0, c2 = 0;
    // Captions first, so that a column's boxes start after its widest caption.
    for (int f = 1; f <= n; ++f) {
        const bool second = f > firstColumn;
        auto *caption = new QLabel(m_sloupce[size_t(f)].Titulek, this);
        caption->setObjectName(QStringLiteral("lbl"));
        caption->setProperty("userText", true);  // the user's caption, no message
        (second ? w2 : w1) = std::max(second ? w2 : w1, textWidth(caption->text()));
        lbl.push_back(caption);
    }
    for (int f = 1; f <= n; ++f) {
        const bool second = f > firstColumn;
        const int k = second ? f - firstColumn - 1 : f - 1;
        const int top = 150 + kRowStep * k;
        const int captionLeft = second ? w1 + 90 + 100 + c1 + 400 : 90;
        lbl[size_t(f + 1)]->setGeometry(twips(captionLeft, top, textWidth(lbl[size_t(f + 1)]->text()) + 30, kBoxHeight - 60));
        lbl[size_t(f + 1)]->show();
    }
    for (int f = 1; f <= n; ++f) {
        const SloupecPrehledu &column = m_sloupce[size_t(f)];
        PoleBox *box = NovyPoleBox(*this, column.Typ, kTextLength, *this, [this](PoleBox &b) { cmb_DropDown(&b); });
        DanaHodnota given;
        if (filled) {
            given.Hodnota = (*zaznam)[f];
            given.Text = TextBunky(*given.Hodnota);
        }
        box->setEditText(given.Text);
        m_dane.push_back(given);
        cmb.push_back(box);
    }
    // Column 1's boxes are placed before column 2's captions are, which start after them.
    for (int pass = 0; pass < 2; ++pass) {
        for (int f = 1; f <= n; ++f) {
            const bool second = f > firstColumn;
            if (second != (pass == 1))
                continue;
            const int k = second ? f - firstColumn - 1 : f - 1;
            const int top = 150 + kRowStep * k - 60;
            const int width = ZaokrouhliSirku(widths[size_t(f - 1)] + 200);
            const int left = second ? w1 + 90 + 100 + c1 + 400 + w2 + 100 : w1 + 190;
            (second ? c2 : c1) = std::max(second ? c2 : c1, width);
            cmb[size_t(f + 1)]->setGeometry(twips(left, top, width, kBoxHeight));
            cmb[size_t(f + 1)]->show();
            cmb[size_t(f + 1)]->raise();
        }
    }
    // Column 2's captions were placed with column 1's widest box still unknown.
    for (int f = firstColumn + 1; f <= n; ++f) {
        QLabel *caption = lbl[size_t(f + 1)];
        caption->move(sys::toPixels(w1 + 90 + 100 + c1 + 400), caption->y());
    }

    const int noteTop = firstColumn * kRowStep + 250;
    lblPopis->setGeometry(twips(90, noteTop, w1 + 30, kBoxHeight - 60));
    const int noteWidth = c1 + 400 + w2 + 100 + c2;
    txtPopis->setGeometry(twips(w1 + 190, noteTop - 60, noteWidth, kNoteHeight));
    const Variant note = filled ? zaznam->Fields(QStringLiteral("poznamka")).Value() : Variant::Null();
    txtPopis->setPlainText(note.IsNull() ? QString() : note.toString());
    m_danaPoznamka = txtPopis->toPlainText();

    const int width = w1 + 90 + 100 + c1 + 400 + w2 + 100 + c2 + 200;
    const int stripTop = noteTop - 60 + kNoteHeight + 200;
    fra->setGeometry(twips(width - (kStripWidth + 40), stripTop, kStripWidth, kButtonHeight));
    setFixedSize(sys::toPixels(width), sys::toPixels(stripTop + kButtonHeight + 400));
    // The focus goes round the boxes, the note and the buttons in reading order.
    QWidget *previous = nullptr;
    for (size_t i = 2; i < cmb.size(); ++i) {
        if (previous)
            setTabOrder(previous, cmb[i]);
        previous = cmb[i];
    }
    for (QWidget *w : std::initializer_list<QWidget *>{txtPopis, cmdSave, cmdOK, cmdEnd}) {
        if (previous)
            setTabOrder(previous, w);
        previous = w;
    }
    if (cmb.size() > 2)
        cmb[2]->setFocus();
}

void frmEditace::cmb_LostFocus(PoleBox *box)
{
    // A box the user left alone keeps what it was given: a date its time of day, a
    // number its regional form.
    const size_t i = size_t(std::find(cmb.begin(), cmb.end(), box) - cmb.begin());
    if (i < m_dane.size() && box->currentText() == m_dane[i].Text)
        return;
    const QString type = box->property("Tag").toString();
    QString text = box->currentText();
    if (type == QLatin1String("D"))
        text = UpravDatum(text, QDate::currentDate());
    else if (type != QLatin1String("C"))
        text = UpravCislo(text);
    else
        return;
    if (text != box->currentText())
        box->setEditText(text);
}

void frmEditace::cmb_DropDown(PoleBox *box)
{
    const SloupecPrehledu &column = m_sloupce[size_t(std::find(cmb.begin(), cmb.end(), box) - cmb.begin() - 1)];
    QStringList values;
    try {
        const std::optional<qint32> section = AktualniSekce();
        if (section) {
            const WaitCursor wait;
            // The whole section, not the selection in force; dates and numbers as the
            // overview shows them.
            auto rs = Db->OpenRecordset(DotazSeznamuVyberu(*section, column, QString(), DatumSeznamu::Ulozene));
            for (; !rs->Eof(); rs->MoveNext())
                values << TextBunky((*rs)[0]);
        }
    } catch (const VbError &) {
        // no list to offer: the box keeps what was typed
    }
    box->NastavSeznam(values);
    box->lineEdit()->setCursorPosition(0);
}

bool frmEditace::eventFilter(QObject *watched, QEvent *event)
{
    PoleBox *box = qobject_cast<PoleBox *>(watched);
    if (!box && watched->parent())
        box = qobject_cast<PoleBox *>(watched->parent());
    if (box && event->type() == QEvent::KeyPress) {
        // The window sees the keys first: Enter and Down go on to the next box, Up back,
        // so that the arrows never browse a box's list.
        switch (static_cast<QKeyEvent *>(event)->key()) {
        case Qt::Key_Return: case Qt::Key_Enter: case Qt::Key_Down:
            PosliKlavesu(9, 0);
            return true;
        case Qt::Key_Up:
            PosliKlavesu(9, 256);
            return true;
        default:
            break;
        }
    }
    // Opening the box's list is no leaving of the box, though the focus goes into the list.
    if (box && watched == box && event->type() == QEvent::FocusOut
        && static_cast<QFocusEvent *>(event)->reason() != Qt::PopupFocusReason && !box->view()->isVisible())
        cmb_LostFocus(box);
    return QDialog::eventFilter(watched, event);
}

QStringList frmEditace::cellTexts() const
{
    // Read back, so that the grid shows what a fresh load of the overview would.
    auto rs = Db->OpenRecordset(DotazRadkuZaznamu(m_seznamPoli, m_klic));
    QStringList texts;
    for (int i = 0; !rs->Eof() && i < rs->FieldCount(); ++i)
        texts << TextBunky((*rs)[i]);
    return texts;
}

bool frmEditace::PrehledMaSloupce() const
{
    // The overview takes a row only in the columns the window was built for.
    return PrehledOtevren() && m_seznamPoli == Prehled().SeznamPoli();
}

void frmEditace::PridejRadek()
{
    if (PrehledMaSloupce())
        Prehled().OznamZmenu(AktualniPrehled::Zmena::Pridan, m_klic, cellTexts());
}

void frmEditace::PrepisRadek()
{
    if (PrehledMaSloupce())
        Prehled().OznamZmenu(AktualniPrehled::Zmena::Ulozen, m_klic, cellTexts());
}

PoleZaznamu frmEditace::pole(size_t i) const
{
    PoleZaznamu p{m_sloupce[i - 1].Jmeno, cmb[i]->property("Tag").toString(), cmb[i]->currentText(), std::nullopt};
    if (p.Text == m_dane[i].Text)
        p.Dana = m_dane[i].Hodnota;
    return p;
}

bool frmEditace::Zmeneno() const
{
    if (txtPopis->toPlainText() != m_danaPoznamka)
        return true;
    // A value counts, not its form: "1883.9" typed over "1883,9" is the same number.
    const QDate today = QDate::currentDate();
    for (size_t i = 2; i < cmb.size(); ++i) {
        const PoleZaznamu now = pole(i);
        if (now.Dana)
            continue;
        PoleZaznamu given = now;
        given.Text = m_dane[i].Text;
        given.Dana = m_dane[i].Hodnota;
        bool same = false;
        ignoreErrors([&] { same = HodnotaPole(now, today) == HodnotaPole(given, today); });
        if (!same)
            return true;
    }
    return false;
}

bool frmEditace::UlozZaznam(bool quiet)
{
    UkladanyZaznam zaznam{m_klic, m_kopie, 0, {}, txtPopis->toPlainText()};
    for (size_t i = 2; i < cmb.size(); ++i)
        zaznam.Pole.push_back(pole(i));
    const bool creating = m_klic == 0 || m_kopie;
    try {
        const std::optional<qint32> section = AktualniSekce();
        if (!section && creating)
            throw VbError(3265, QStringLiteral("Oskal"), PrelozText(QStringLiteral("172,Není nastavena sekce. Naveďte novou sekci a akci opakujte.")));
        zaznam.Sekce = section.value_or(0);
        m_klic = UlozZaznamDoKatalogu(*Ws, *Db, zaznam, QDateTime::currentDateTime());
    } catch (const VbError &e) {
        MsgBox(PrelozText(QStringLiteral("270,Při ukládání údajů došlo k chybě. Údaje nebyly uloženy.")) + QLatin1Char('\n')
                   + e.Description(),
               vbCritical, windowTitle());
        return false;
    }
    m_kopie = m_kopie || creating;
    // The record is stored; a grid that cannot show it shows it at its next load.
    ignoreErrors([&] { creating ? PridejRadek() : PrepisRadek(); });
    // What is stored now is what the boxes were given: the next change is measured from it.
    for (size_t i = 2; i < cmb.size(); ++i)
        if (cmb[i]->currentText() != m_dane[i].Text)
            m_dane[i] = DanaHodnota{cmb[i]->currentText(), std::nullopt};
    m_danaPoznamka = txtPopis->toPlainText();
    if (!quiet)
        SaveBox::Form().exec();
    return true;
}

void frmEditace::Form_QueryUnload(bool &Cancel)
{
    Cancel = Zmeneno() && !ZavriSeZmenami(*this, [this] { return UlozZaznam(false); });
}
