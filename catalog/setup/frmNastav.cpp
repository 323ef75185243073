#include "setup/frmNastav.h"

#include "common/SaveBox.h"
#include "common/translation.h"
#include "data/infosettings.h"
#include "data/recordsave.h"
#include "setup/boxkeys.h"
#include "variant.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>

frmNastav::frmNastav()
    : ModalForm(mainWindow())
{
    setObjectName(QStringLiteral("frmNastav"));
    setWindowTitle(QStringLiteral("159,Nastavení systému"));
    auto *layout = new QGridLayout(this);
    // One sentence: after start-up show only [n] records in the overview.
    chkAllRecords = new QCheckBox(QStringLiteral("217,Po startu aplikace zobrazit v přehledu pouze"), this);
    chkAllRecords->setObjectName(QStringLiteral("chkAllRecords"));
    txtAllRecords = new QLineEdit(QStringLiteral("1000"), this);
    txtAllRecords->setObjectName(QStringLiteral("txtAllRecords"));
    txtAllRecords->setMaximumWidth(90);
    txtAllRecords->installEventFilter(this);
    Label4 = new QLabel(QStringLiteral("395,záznamů"), this);
    Label4->setObjectName(QStringLiteral("Label4"));
    layout->addWidget(chkAllRecords, 0, 0);
    layout->addWidget(txtAllRecords, 0, 1);
    layout->addWidget(Label4, 0, 2);
    layout->setColumnStretch(3, 1);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    const auto button = [&](const char *name, const char *caption, const char *tip) {
        QPushButton *b = TlacitkoRadku(*this, *buttons, name, caption, tip);
        b->installEventFilter(this);
        return b;
    };
    cmdOK = button("cmdOK", "18,OK", "353,Uložení změn a ukončení formuláře");
    cmdEnd = button("cmdEnd", "17,Konec", "112,Konec bez zápisu");
    layout->addLayout(buttons, 1, 0, 1, 4);

    connect(chkAllRecords, &QCheckBox::clicked, this, [this] {
        txtAllRecords->setEnabled(chkAllRecords->isChecked());
        m_zmeneno = true;
    });
    connect(txtAllRecords, &QLineEdit::textChanged, this, [this] { m_zmeneno = true; });
    connect(cmdOK, &QPushButton::clicked, this, [this] {
        if (UlozNastaveni())
            close();
    });
    connect(cmdEnd, &QPushButton::clicked, this, &QWidget::close);
}

void frmNastav::Zobraz()
{
    Form_Load();
    ZobrazModalne();
}

void frmNastav::Form_Load()
{
    chkAllRecords->setChecked(NactiInfo(QStringLiteral("chkAllRecords"), QStringLiteral("true")).toLower()
                              == QLatin1String("true"));
    txtAllRecords->setEnabled(chkAllRecords->isChecked());
    QLocale system = QLocale::system();
    system.setNumberOptions(QLocale::OmitGroupSeparator);
    txtAllRecords->setText(system.toString(vbVal(NactiInfo(QStringLiteral("txtAllRecords"), QStringLiteral("1000"))), 'g', 15));
    m_zmeneno = false;
    PrelozFormular(*this, 0);
}

void frmNastav::txtAllRecords_LostFocus()
{
    // The overview reads the limit with "." as the decimal separator, whatever was typed.
    // The number stays what it was, so this alone is no change to ask about on closing
    // (a limit loaded as "2,5" in the system's format becomes "2.5").
    const QString normal = UpravCislo(txtAllRecords->text());
    const bool changed = m_zmeneno;
    if (normal != txtAllRecords->text())
        txtAllRecords->setText(normal);
    m_zmeneno = changed;
}

bool frmNastav::UlozNastaveni()
{
    UlozInfo(QStringLiteral("chkAllRecords"), Variant(chkAllRecords->isChecked()).toString());
    UlozInfo(QStringLiteral("txtAllRecords"), txtAllRecords->text());
    SaveBox::Form().exec();
    m_zmeneno = false;
    return true;
}

bool frmNastav::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == txtAllRecords) {
        if (event->type() == QEvent::FocusOut)
            txtAllRecords_LostFocus();
        else if (KlavesaBoxu(*txtAllRecords, *event))
            return true;
    } else if (auto *button = qobject_cast<QPushButton *>(watched); button && event->type() == QEvent::KeyPress) {
        // Enter presses the button that has the focus, as Space does.
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            button->click();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void frmNastav::Form_QueryUnload(bool &Cancel)
{
    Cancel = m_zmeneno && !ZahoditZmeny(*this);
}
