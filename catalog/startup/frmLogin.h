#pragma once

#include <QDialog>

class QLineEdit;

// The login window of a network workstation.
class frmLogin : public QDialog
{
    Q_OBJECT
public:
    frmLogin();
    // True once the password was confirmed.
    bool Potvrzeno = false;
    QLineEdit *txtUserName;
    QLineEdit *txtPassword;
};
