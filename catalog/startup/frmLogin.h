#pragma once

#include <QDialog>

#include <array>

class QLabel;
class QLineEdit;
class QPushButton;

// The login window of a network workstation: the user's name, and the catalog's password
// (S_Param.Heslo) to confirm. Shown modally; afterwards the caller reads Potvrzeno and
// txtUserName.
class frmLogin : public QDialog
{
    Q_OBJECT
public:
    frmLogin();

    // True once the password was confirmed; False after Storno.
    bool Potvrzeno = false;

    std::array<QLabel *, 2> lblLabels{};
    QLineEdit *txtUserName = nullptr;
    QLineEdit *txtPassword = nullptr;
    QPushButton *cmdOK = nullptr;
    QPushButton *cmdStorno = nullptr;

private:
    void cmdOK_Click();
    void cmdStorno_Click();
    // Whether the typed password is the catalog's; a Null or unreadable one never is.
    bool hesloSouhlasi() const;
};
