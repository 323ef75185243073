#include "startup/frmLogin.h"

#include "dao.h"
#include "common/globals.h"
#include "msgbox.h"
#include "system.h"
#include "common/translation.h"
#include "common/utility.h"
#include "variant.h"
#include "vberror.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

std::optional<QString> frmLogin::Zobraz()
{
    return Form().ZobrazModalne();
}

frmLogin::frmLogin()
{
    setObjectName(QStringLiteral("frmLogin"));
    setWindowTitle(QStringLiteral("Login"));
    auto *layout = new QGridLayout(this);
    const char *captions[] = {"Uživatel:", "Heslo:"};
    for (int i = 0; i < 2; ++i) {
        lblLabels[i] = new QLabel(QString::fromUtf8(captions[i]), this);
        lblLabels[i]->setObjectName(QStringLiteral("lblLabels"));
        lblLabels[i]->setProperty("Index", i);
        layout->addWidget(lblLabels[i], i, 0);
    }
    txtUserName = new QLineEdit(this);
    txtUserName->setObjectName(QStringLiteral("txtUserName"));
    txtUserName->setMaxLength(255);  // the longest login name the platform gives
    txtPassword = new QLineEdit(this);
    txtPassword->setObjectName(QStringLiteral("txtPassword"));
    txtPassword->setEchoMode(QLineEdit::Password);
    txtPassword->setStyleSheet(QStringLiteral("lineedit-password-character: 42"));  // "*" for every character
    txtPassword->setMaxLength(20);  // the width of S_Param.Heslo
    // Room for a name or a password of the usual length without scrolling.
    txtUserName->setMinimumWidth(sys::toPixels(2700));
    layout->addWidget(txtUserName, 0, 1);
    layout->addWidget(txtPassword, 1, 1);
    lblLabels[0]->setBuddy(txtUserName);
    lblLabels[1]->setBuddy(txtPassword);

    cmdOK = new QPushButton(QStringLiteral("18,OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    cmdStorno = new QPushButton(QStringLiteral("Storno"), this);
    cmdStorno->setObjectName(QStringLiteral("cmdStorno"));
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdStorno);
    layout->addLayout(buttons, 2, 0, 1, 2);
    connect(cmdOK, &QPushButton::clicked, this, &frmLogin::cmdOK_Click);
    connect(cmdStorno, &QPushButton::clicked, this, &frmLogin::cmdStorno_Click);

    HlidejDelkuBoxu(*txtUserName);
    HlidejDelkuBoxu(*txtPassword);

    // Load.
    txtUserName->setText(sys::UserName());
    PrelozFormular(*this, 0);
}

bool frmLogin::hesloSouhlasi() const
{
    if (!Db)
        return false;
    try {
        auto param = Db->OpenRecordset(QStringLiteral("select * from S_Param"));
        if (param->Eof())
            return false;
        const Variant heslo = param->Fields(QStringLiteral("heslo")).Value();
        return !heslo.IsNull() && heslo.toString() == txtPassword->text();
    } catch (const VbError &) {
        return false;
    }
}

void frmLogin::cmdOK_Click()
{
    if (hesloSouhlasi()) {
        Potvrzeno = true;
        Vysledek() = txtUserName->text();
        accept();
        return;
    }
    MsgBox(PrelozText(QStringLiteral("326,Špatně zadané heslo.")), vbOKOnly, QStringLiteral("Login"));
    txtPassword->setFocus();
    txtPassword->selectAll();
}

void frmLogin::cmdStorno_Click()
{
    Potvrzeno = false;
    Vysledek().reset();
    reject();
}
