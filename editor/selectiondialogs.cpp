#include "selectiondialogs.h"

#include "libroutines.h"
#include "selection.h"

#include <QComboBox>
#include <QFont>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace tabulix {

namespace {

QLabel *label(QWidget *parent, const QString &text, const char *name = nullptr)
{
    auto *l = new QLabel(text, parent);
    if (name)
        l->setObjectName(QLatin1String(name));
    return l;
}

}  // namespace

SelectionDialog::SelectionDialog(QWidget *parent) : QDialog(parent)
{
    setModal(true);
    lbl = label(this, QString(), "lbl");
    lbl->setTextFormat(Qt::PlainText);
    cmb = new QComboBox(this);
    cmb->setObjectName(QStringLiteral("cmb"));
    // Only the operators offered: a typed one would reach the condition.
    cmb->setEditable(false);
    cmb->addItems(SelectionOperators());
    cmb->setCurrentIndex(0);
    txt = new QLineEdit(this);
    txt->setObjectName(QStringLiteral("txt"));
    txt->setMinimumWidth(220);
    cmd = new QPushButton(QStringLiteral("372,Vybrat"), this);
    cmd->setObjectName(QStringLiteral("cmd"));
    // Enter in the value chooses it, through the dialog's default button.
    cmd->setDefault(true);
    cmdEnd = new QPushButton(QStringLiteral("111,Konec"), this);
    cmdEnd->setObjectName(QStringLiteral("cmdEnd"));
    connect(cmd, &QPushButton::clicked, this, [this] { cmd_Click(); });
    connect(cmdEnd, &QPushButton::clicked, this, &QDialog::reject);
}

void SelectionDialog::build(QWidget *top, QWidget *bottom)
{
    auto *layout = new QVBoxLayout(this);
    if (top)
        layout->addWidget(top);
    auto *condition = new QHBoxLayout;
    condition->addWidget(lbl);
    condition->addWidget(cmb);
    condition->addWidget(txt, 1);
    layout->addLayout(condition);
    if (bottom)
        layout->addWidget(bottom);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmd);
    buttons->addWidget(cmdEnd);
    layout->addLayout(buttons);
    PrelozFormular(this, 0);
    txt->setFocus();
}

void SelectionDialog::cmd_Click()
{
    Filtr().FiltrHodnota = txt->text();
    Filtr().FiltrOperator = cmb->currentText();
    accept();
}

frmVyber::frmVyber(QWidget *parent) : SelectionDialog(parent)
{
    setObjectName(QStringLiteral("frmVyber"));
    setWindowTitle(QStringLiteral("459,Výběr záznamů"));
    QLabel *heading = label(this, QStringLiteral("434,Výběr záznamů dle podmínky"));
    QFont bold = heading->font();
    bold.setBold(true);
    heading->setFont(bold);
    build(heading, nullptr);
}

frmDalsiVyber::frmDalsiVyber(QWidget *parent) : SelectionDialog(parent)
{
    setObjectName(QStringLiteral("frmDalsiVyber"));
    setWindowTitle(QStringLiteral("437,Změna podmínky výběru"));
    auto *top = new QWidget(this);
    auto *old = new QVBoxLayout(top);
    old->setContentsMargins(0, 0, 0, 0);
    old->addWidget(label(top, QStringLiteral("435,Současná podmínka výběru")));
    lblOld = label(top, QString(), "lblOld");
    lblOld->setTextFormat(Qt::PlainText);
    lblOld->setWordWrap(true);
    old->addWidget(lblOld);
    old->addWidget(label(top, QStringLiteral("436,Podmínka")));
    auto *join = new QWidget(this);
    auto *options = new QHBoxLayout(join);
    options->setContentsMargins(0, 0, 0, 0);
    optAnd = new QRadioButton(QStringLiteral("438,a zároveň"), join);
    optAnd->setObjectName(QStringLiteral("optAnd"));
    optAnd->setChecked(true);
    optOr = new QRadioButton(QStringLiteral("439,nebo"), join);
    optOr->setObjectName(QStringLiteral("optOr"));
    options->addWidget(optAnd);
    options->addWidget(optOr);
    options->addStretch(1);
    build(top, join);
}

void frmDalsiVyber::cmd_Click()
{
    Filtr().FiltrSpojka = optAnd->isChecked() ? QStringLiteral("AND") : QStringLiteral("OR");
    SelectionDialog::cmd_Click();
}

frmSuma::frmSuma(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmSuma"));
    setWindowTitle(QStringLiteral("427,Suma"));
    setModal(true);
    lbl = label(this, QString(), "lbl");
    lbl->setTextFormat(Qt::PlainText);
    txt = new QLineEdit(this);
    txt->setObjectName(QStringLiteral("txt"));
    txt->setReadOnly(true);
    txt->setAlignment(Qt::AlignRight);
    auto *layout = new QHBoxLayout(this);
    layout->addWidget(lbl);
    layout->addWidget(txt, 1);
    PrelozFormular(this, 0);
}

}  // namespace tabulix
