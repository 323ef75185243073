#pragma once

#include "common/modalform.h"

class LinkLabel;
class QLabel;
class QPushButton;

// The about window: the program's picture, name, version and contacts. Modal; a click on
// any of its texts or its picture, OK or Esc closes it.
class frmLogo : public ModalForm<frmLogo>
{
    Q_OBJECT
    friend ModalForm<frmLogo>;

public:
    // Makes the window, places it over the main window and shows it modally; returns
    // when it has closed.
    static void LoadForm();

    QLabel *pic = nullptr;
    QLabel *lblExe = nullptr;
    QLabel *lblPopis = nullptr;
    QLabel *lblVer = nullptr;
    QLabel *lblPlatform = nullptr;
    QLabel *lblPhone1 = nullptr;
    QLabel *lblPhone2 = nullptr;
    QLabel *lblCopyright = nullptr;
    LinkLabel *QirLink = nullptr;
    QPushButton *cmdOK = nullptr;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    frmLogo();
    void Form_Load();
};
