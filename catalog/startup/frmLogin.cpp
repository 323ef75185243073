#include "frmLogin.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>

frmLogin::frmLogin()
    : txtUserName(new QLineEdit(this)), txtPassword(new QLineEdit(this))
{
    setObjectName(QStringLiteral("frmLogin"));
    setWindowTitle(QStringLiteral("Login"));
    txtUserName->setObjectName(QStringLiteral("txtUserName"));
    txtPassword->setObjectName(QStringLiteral("txtPassword"));
    txtPassword->setEchoMode(QLineEdit::Password);
    auto *layout = new QFormLayout(this);
    layout->addRow(QStringLiteral("Uživatel:"), txtUserName);
    layout->addRow(QStringLiteral("Heslo:"), txtPassword);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, [this] { Potvrzeno = true; accept(); });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addRow(buttons);
}
