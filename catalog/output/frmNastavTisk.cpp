#include "output/frmNastavTisk.h"

#include "common/translation.h"
#include "common/utility.h"
#include "msgbox.h"
#include "output/frmTisk.h"
#include "pageview.h"
#include "variant.h"

#include <QApplication>
#include <QComboBox>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <cmath>

namespace {

// The heading fits one line of the listing's head.
constexpr int DelkaNadpisu = 100;

}  // namespace

frmNastavTisk::frmNastavTisk(frmTisk *tisk) : ModalForm(tisk), m_tisk(tisk)
{
    setObjectName(QStringLiteral("frmNastavTisk"));
    setWindowTitle(QStringLiteral("160,Nastavení tisku"));

    Label1 = new QLabel(QStringLiteral("360,Velikost písma"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    cmbPismo = new QComboBox(this);
    cmbPismo->setObjectName(QStringLiteral("cmbPismo"));
    cmbPismo->setEditable(true);
    cmbPismo->setInsertPolicy(QComboBox::NoInsert);
    for (int size : {5, 6, 7, 8, 9, 10, 11, 12, 14, 16, 18, 20, 22, 24, 26, 28, 36})
        cmbPismo->addItem(QString::number(size));
    Label2 = new QLabel(QStringLiteral("144,Nadpis sestavy"), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    txtNadpis = new QLineEdit(this);
    txtNadpis->setObjectName(QStringLiteral("txtNadpis"));
    txtNadpis->setMaxLength(DelkaNadpisu);
    HlidejDelkuBoxu(*txtNadpis);
    Label3 = new QLabel(QStringLiteral("359,Velikost obrázku"), this);
    Label3->setObjectName(QStringLiteral("Label3"));
    txtImgSize = new QLineEdit(this);
    txtImgSize->setObjectName(QStringLiteral("txtImgSize"));
    txtImgSize->setToolTip(QStringLiteral("132,Max.velikost obrázku na výšku či šířku při zachování poměru stran"));
    txtImgSize->installEventFilter(this);
    Label4 = new QLabel(QStringLiteral("142,mm"), this);
    Label4->setObjectName(QStringLiteral("Label4"));

    Frame1 = new QGroupBox(this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Label5 = new QLabel(QStringLiteral("204,Orientace tisku"), Frame1);
    Label5->setObjectName(QStringLiteral("Label5"));
    const VolbaOrientace volba = VytvorVolbuOrientace(Frame1, Label5);
    opt[0] = volba.opt[0];
    opt[1] = volba.opt[1];
    pic = volba.pic;
    // The window's translation leaves option buttons as they are: these are messages.
    for (QRadioButton *option : opt)
        option->setText(PrelozText(option->text()));

    cmdOK = new QPushButton(QStringLiteral("18,OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setAutoDefault(false);
    connect(cmdOK, &QPushButton::clicked, this, &frmNastavTisk::cmdOK_Click);

    auto *grid = new QGridLayout(this);
    grid->addWidget(Label1, 0, 0);
    grid->addWidget(cmbPismo, 0, 1);
    grid->addWidget(Label2, 1, 0);
    grid->addWidget(txtNadpis, 1, 1, 1, 2);
    grid->addWidget(Label3, 2, 0);
    grid->addWidget(txtImgSize, 2, 1);
    grid->addWidget(Label4, 2, 2);
    grid->addWidget(Frame1, 3, 0, 1, 3);
    grid->addWidget(cmdOK, 4, 2, Qt::AlignRight);

    cmbPismo->setEditText(QString::number(tisk->Pismo));
    opt[tisk->Orientace == 1 ? 0 : 1]->setChecked(true);
    txtNadpis->setText(tisk->Nadpis);
    PrelozFormular(*this, 0);
}

bool frmNastavTisk::eventFilter(QObject *watched, QEvent *event)
{
    // Leaving the box for another control of the dialog validates it; a message box or
    // another window taking the focus does not, and a click on OK leaves it to OK (a
    // message in the middle of the click would swallow the click).
    if (watched == txtImgSize && event->type() == QEvent::FocusOut) {
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        const bool clickOnOK = reason == Qt::MouseFocusReason && QApplication::focusWidget() == cmdOK;
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason && !clickOnOK
            && !txtImgSize->isHidden())
            txtImgSize_Validate();
    }
    return QDialog::eventFilter(watched, event);
}

bool frmNastavTisk::txtImgSize_Validate()
{
    const double value = vbVal(txtImgSize->text());
    const long size = std::isfinite(value) ? std::lround(std::clamp(value, -1e6, 1e6)) : 0;
    if (size > NejvetsiObrazek) {
        txtImgSize->setText(QString::number(NejvetsiObrazek));
        MsgBox(PrelozText(QStringLiteral("133,Maximální velikost obrázku může být 120mm")), vbInformation, windowTitle());
        return false;
    }
    if (size <= 0) {
        // No photo size at all: the one in force stays.
        const int current = m_tisk->ImgSize > 0 && m_tisk->ImgSize <= NejvetsiObrazek ? m_tisk->ImgSize : 80;
        txtImgSize->setText(QString::number(current));
        MsgBox(PrelozText(QStringLiteral("489,Velikost obrázku musí být alespoň 1 mm.")), vbInformation, windowTitle());
        return false;
    }
    txtImgSize->setText(QString::number(size));
    return true;
}

void frmNastavTisk::cmdOK_Click()
{
    bool whole = false;
    const int pismo = cmbPismo->currentText().trimmed().toInt(&whole);
    if (!whole || pismo < NejmensiPismo || pismo > NejvetsiPismo) {
        MsgBox(PrelozText(QStringLiteral("490,Velikost písma musí být celé číslo od 5 do 36.")), vbInformation,
               windowTitle());
        cmbPismo->setFocus();
        cmbPismo->lineEdit()->selectAll();
        return;
    }
    // A size refused here has been put right in the box, and that one is taken.
    const bool imgSize = !txtImgSize->isHidden();
    if (imgSize)
        txtImgSize_Validate();
    m_tisk->Pismo = quint8(pismo);
    m_tisk->Orientace = opt[0]->isChecked() ? 1 : 2;
    m_tisk->Nadpis = txtNadpis->text();
    if (imgSize)
        m_tisk->ImgSize = qint16(txtImgSize->text().toInt());
    accept();
}
