#include "setup/frmMajitel.h"

#include "common/SaveBox.h"
#include "common/globals.h"
#include "common/translation.h"
#include "common/utility.h"
#include "dao.h"
#include "data/ownerdata.h"
#include "msgbox.h"
#include "setup/boxkeys.h"
#include "variant.h"
#include "vberror.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

const QString kNeplatce = QStringLiteral("Neplátci DPH");

struct Box {
    const char *caption;
    const char *tip;
};
// The boxes by their index, in the order of the owner's texts (UdajeMajitele).
constexpr Box kBoxes[] = {
    {"99,IČO", ""},
    {"67,DIČ", ""},
    {"161,Název", ""},
    {"350,Ulice", ""},
    {"135,Město", ""},
    {"280,PSČ", ""},
    {"329,Telefon", ""},
    {"382,WWW", "383,www adresa"},
    {"80,E-mail", "81,E-mailová adresa"},
    {"100,Internetová adresa pro aktualizace", ""},
};

}  // namespace

frmMajitel::frmMajitel()
    : ModalForm(mainWindow())
{
    setObjectName(QStringLiteral("frmMajitel"));
    setWindowTitle(QStringLiteral("344,Údaje majitele"));
    auto *grid = new QGridLayout(this);
    for (size_t i = 0; i < std::size(kBoxes); ++i) {
        auto *caption = new QLabel(QString::fromUtf8(kBoxes[i].caption), this);
        caption->setObjectName(QStringLiteral("lbl"));
        auto *box = new QLineEdit(this);
        box->setObjectName(QStringLiteral("txt"));
        box->setProperty("Index", int(i));
        box->setMaxLength(DelkyMajitele[i]);
        if (*kBoxes[i].tip)
            box->setToolTip(QString::fromUtf8(kBoxes[i].tip));
        HlidejDelkuBoxu(*box);
        box->installEventFilter(this);
        connect(box, &QLineEdit::textChanged, this, [this] { m_zmeneno = true; });
        caption->setBuddy(box);
        grid->addWidget(caption, int(i), 0);
        grid->addWidget(box, int(i), 1);
        lbl.push_back(caption);
        txt.push_back(box);
        if (i == 1) {
            // The VAT flag stands beside the VAT number it governs.
            chkDph = new QCheckBox(QStringLiteral("213,Plátce DPH"), this);
            chkDph->setObjectName(QStringLiteral("chkDph"));
            chkDph->installEventFilter(this);
            grid->addWidget(chkDph, int(i), 2);
            connect(chkDph, &QCheckBox::clicked, this, &frmMajitel::chkDph_Click);
        }
    }
    grid->setColumnMinimumWidth(1, 320);
    auto *buttons = new QHBoxLayout;
    const auto button = [&](const char *name, const char *caption, const char *tip) {
        return TlacitkoRadku(*this, *buttons, name, caption, tip);
    };
    buttons->addStretch(1);
    cmdSave = button("cmdSave", "20,Uložit", "351,Uložení dat");
    cmdOK = button("cmdOK", "18,OK", "353,Uložení změn a ukončení formuláře");
    cmdEnd = button("cmdEnd", "17,Konec", "348,Ukončení aktualizace údajů majitele");
    grid->addLayout(buttons, int(std::size(kBoxes)), 0, 1, 3);
    connect(cmdSave, &QPushButton::clicked, this, [this] { UlozMajitel(false); });
    connect(cmdOK, &QPushButton::clicked, this, [this] {
        if (UlozMajitel(true))
            close();
    });
    connect(cmdEnd, &QPushButton::clicked, this, &QWidget::close);
}

void frmMajitel::Zobraz()
{
    Form_Load();
    ZobrazModalne();
}

void frmMajitel::platce(bool payer)
{
    QLineEdit *dic = txt[1];
    dic->setEnabled(payer);
    // The system's colours of an open and of a closed box (window and button face).
    QPalette palette = dic->palette();
    palette.setColor(QPalette::Base, payer ? QPalette().color(QPalette::Base) : QPalette().color(QPalette::Button));
    dic->setPalette(palette);
}

void frmMajitel::Form_Load()
{
    const UdajeMajitele udaje = NactiMajitele(*Db);
    txt[0]->setText(udaje.Texty[0]);
    txt[1]->setText(udaje.Texty[1]);
    chkDph->setChecked(udaje.Dph);
    platce(udaje.Dph);
    for (size_t i = 2; i < txt.size(); ++i)
        txt[i]->setText(udaje.Texty[i]);
    m_zmeneno = false;
    PrelozFormular(*this, 0);
}

void frmMajitel::chkDph_Click()
{
    QLineEdit *dic = txt[1];
    if (chkDph->isChecked()) {
        platce(true);
        if (dic->text() == kNeplatce)
            dic->clear();
    } else {
        platce(false);
        dic->setText(kNeplatce);
    }
}

bool frmMajitel::UlozMajitel(bool quiet)
{
    UdajeMajitele udaje;
    for (size_t i = 0; i < txt.size(); ++i)
        udaje.Texty[i] = txt[i]->text();
    udaje.Dph = chkDph->isChecked();
    try {
        UlozMajitele(*Db, udaje);
    } catch (const VbError &e) {
        MsgBox(PrelozText(QStringLiteral("270,Při ukládání údajů došlo k chybě. Údaje nebyly uloženy.")) + QLatin1Char('\n')
                   + e.Description(),
               vbCritical, windowTitle());
        return false;
    }
    if (!quiet)
        SaveBox::Form().exec();
    m_zmeneno = false;
    return true;
}

bool frmMajitel::eventFilter(QObject *watched, QEvent *event)
{
    if (auto *box = qobject_cast<QLineEdit *>(watched); box && KlavesaBoxu(*box, *event))
        return true;
    // Text typed on the check box is meant for a box: it is refused, not taken as a
    // click (Space still ticks and unticks it).
    if (watched == chkDph && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        const QString text = key->text();
        if (!text.isEmpty() && text.at(0).isPrint() && !text.at(0).isSpace()
            && !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))) {
            Pipni(400, 150);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void frmMajitel::Form_QueryUnload(bool &Cancel)
{
    Cancel = m_zmeneno && !ZahoditZmeny(*this);
}
