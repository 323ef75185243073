#pragma once

#include "common/modalform.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

// The application settings: whether the overview loads only a limited number of records,
// and how many. Modal; its result reaches the overview through the settings.
class frmNastav : public ModalForm<frmNastav>
{
    Q_OBJECT
    friend ModalForm<frmNastav>;

public:
    // Reads the settings and shows the window; returns when it has closed.
    void Zobraz();
    // Stores both settings and shows the saved notice.
    bool UlozNastaveni();

    QCheckBox *chkAllRecords = nullptr;
    QLineEdit *txtAllRecords = nullptr;
    QLabel *Label4 = nullptr;
    QPushButton *cmdOK = nullptr;
    QPushButton *cmdEnd = nullptr;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    frmNastav();
    // Unsaved edits are let go only when the user says so.
    void Form_QueryUnload(bool &Cancel) override;
    void Form_Load();
    void txtAllRecords_LostFocus();

    bool m_zmeneno = false;
};
