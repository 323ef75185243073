#include "frmNastav.h"

#include "frmTisk.h"
#include "gridreport.h"
#include "libroutines.h"
#include "system.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
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
    auto *orientation = new QHBoxLayout(fraOrientace);
    auto *options = new QVBoxLayout;
    opt[0] = new QRadioButton(QStringLiteral("461,Na výšku"), fraOrientace);
    opt[1] = new QRadioButton(QStringLiteral("462,Na šířku"), fraOrientace);
    for (int i = 0; i < 2; ++i) {
        opt[i]->setObjectName(QStringLiteral("opt_%1").arg(i));
        options->addWidget(opt[i]);
        connect(opt[i], &QRadioButton::toggled, this, [this, i](bool on) {
            if (on)
                opt_Click(i);
        });
    }
    orientation->addLayout(options);
    pic = new QLabel(fraOrientace);
    pic->setObjectName(QStringLiteral("pic"));
    pic->setFixedSize(40, 40);
    orientation->addWidget(pic);

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

QPixmap frmNastav::OrientationPicture(int index)
{
    // A sheet with lines of text, upright or lying.
    QPixmap picture(36, 36);
    picture.fill(Qt::transparent);
    QPainter p(&picture);
    const QRect sheet = index == 0 ? QRect(9, 2, 18, 31) : QRect(2, 9, 31, 18);
    p.fillRect(sheet, Qt::white);
    p.setPen(Qt::black);
    p.drawRect(sheet);
    p.setPen(Qt::darkGray);
    for (int y = sheet.top() + 4; y < sheet.bottom() - 2; y += 3)
        p.drawLine(sheet.left() + 3, y, sheet.right() - 3, y);
    return picture;
}

void frmNastav::opt_Click(int index)
{
    pic->setPixmap(OrientationPicture(index));
    pic->setProperty("image", index == 0 ? QStringLiteral("port") : QStringLiteral("land"));
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
