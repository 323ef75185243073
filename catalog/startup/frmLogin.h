#pragma once

#include "common/modalform.h"

#include <QString>

#include <array>
#include <optional>

class QLabel;
class QLineEdit;
class QPushButton;

// The login window of a network workstation: the user's name, and the catalog's password
// (S_Param.Heslo) to confirm. Modal; its result is the user name it confirmed, which the
// caller reads once the window has gone.
class frmLogin : public ModalForm<frmLogin, std::optional<QString>>
{
    Q_OBJECT
    friend ModalForm<frmLogin, std::optional<QString>>;

public:
    // Shows the window; once it has closed, the user name as typed when the password
    // was confirmed; none when it closed otherwise.
    static std::optional<QString> Zobraz();

    // True once the password was confirmed; False after Storno.
    bool Potvrzeno = false;

    std::array<QLabel *, 2> lblLabels{};
    QLineEdit *txtUserName = nullptr;
    QLineEdit *txtPassword = nullptr;
    QPushButton *cmdOK = nullptr;
    QPushButton *cmdStorno = nullptr;

private:
    frmLogin();
    void cmdOK_Click();
    void cmdStorno_Click();
    // Whether the typed password is the catalog's; a Null or unreadable one never is.
    bool hesloSouhlasi() const;
};
