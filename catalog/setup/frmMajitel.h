#pragma once

#include "common/modalform.h"

#include <vector>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

// The owner's company data, the one row of Majitel: a modal window of ten boxes and the
// VAT payer check box.
class frmMajitel : public ModalForm<frmMajitel>
{
    Q_OBJECT
    friend ModalForm<frmMajitel>;

public:
    // Reads the row and shows the window; returns when it has closed.
    void Zobraz();
    // Writes the boxes into the row; false (after saying why) when the database refused,
    // and the edits stay in the window. Quiet: no saved notice.
    bool UlozMajitel(bool quiet);

    // Boxes 0 .. 9: IČO, DIČ, name, street, town, postcode, telephone, web, e-mail and
    // the update address.
    std::vector<QLineEdit *> txt;
    std::vector<QLabel *> lbl;
    QCheckBox *chkDph = nullptr;
    QPushButton *cmdSave = nullptr;
    QPushButton *cmdOK = nullptr;
    QPushButton *cmdEnd = nullptr;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    frmMajitel();
    // Unsaved edits are let go only when the user says so.
    void Form_QueryUnload(bool &Cancel) override;
    void Form_Load();
    void chkDph_Click();
    // The DIČ box as a payer's (open) or a non-payer's (closed, greyed).
    void platce(bool payer);

    bool m_zmeneno = false;
};
