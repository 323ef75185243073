#include "frmNastav.h"

#include "frmTisk.h"
#include "gridreport.h"
#include "libroutines.h"
#include "pageview.h"
#include "system.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <cmath>

namespace tabulix {

frmNastav::frmNastav(frmTisk *preview) : QDialog(preview), m_preview(preview)
{
    setObjectName(QStringLiteral("frmNastav"));
    setWindowTitle(QStringLiteral("160,Nastavení tisku"));

    auto *lblPismo = new QLabel(QStringLiteral("360,Velikost písma"), this);
    lblPismo->setObjectName(QStringLiteral("lblPismo"));
    cmbPismo = new QComboBox(this);
    cmbPismo->setObjectName(QStringLiteral("cmbPismo"));
    cmbPismo->setEditable(true);
    cmbPismo->setInsertPolicy(QComboBox::NoInsert);
    auto *lblNadpis = new QLabel(QStringLiteral("144,Nadpis sestavy"), this);
    lblNadpis->setObjectName(QStringLiteral("lblNadpis"));
    txtNadpis = new QLineEdit(this);
    txtNadpis->setObjectName(QStringLiteral("txtNadpis"));

    fraOrientace = new QGroupBox(QStringLiteral("204,Orientace tisku"), this);
    fraOrientace->setObjectName(QStringLiteral("fraOrientace"));
    const VolbaOrientace volba = VytvorVolbuOrientace(fraOrientace, nullptr);
    opt[0] = volba.opt[0];
    opt[1] = volba.opt[1];
    pic = volba.pic;

    cmdOK = new QPushButton(QStringLiteral("18,OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    connect(cmdOK, &QPushButton::clicked, this, &frmNastav::cmdOK_Click);

    auto *grid = new QGridLayout(this);
    grid->addWidget(lblPismo, 0, 0);
    grid->addWidget(cmbPismo, 0, 1);
    grid->addWidget(lblNadpis, 1, 0);
    grid->addWidget(txtNadpis, 1, 1);
    grid->addWidget(fraOrientace, 2, 0, 1, 2);
    grid->addWidget(cmdOK, 3, 1, Qt::AlignRight);

    cmbPismo->setEditText(QString::number(preview->Pismo));
    opt[preview->Orientace == 1 ? 0 : 1]->setChecked(true);
    txtNadpis->setText(preview->Nadpis);
    PrelozFormular(this);
}

void frmNastav::cmdOK_Click()
{
    // A size the listing has no room for is refused: the box keeps the focus.
    bool ok = false;
    const double size = cmbPismo->currentText().trimmed().replace(QLatin1Char(','), QLatin1Char('.')).toDouble(&ok);
    const double whole = std::nearbyint(size);  // halves to the even one
    if (!ok || whole < GridReport::MinPismo || whole > GridReport::MaxPismo) {
        sys::Beep(0, 0);
        cmbPismo->setFocus();
        cmbPismo->lineEdit()->selectAll();
        return;
    }
    m_preview->Pismo = quint8(whole);
    m_preview->Orientace = opt[0]->isChecked() ? 1 : 2;
    m_preview->Nadpis = txtNadpis->text();
    accept();
}

}  // namespace tabulix
