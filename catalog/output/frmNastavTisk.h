#pragma once

#include "common/modalform.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class frmTisk;

// The print settings: orientation, font size, heading and photo size of the print
// preview, read from it when the dialog opens and written back by OK only. The preview
// disables or hides what its kind of print does not use before showing it.
class frmNastavTisk : public ModalForm<frmNastavTisk>
{
    Q_OBJECT
    friend ModalForm<frmNastavTisk>;

public:
    // The font sizes offered, and the range a typed one must keep to.
    static constexpr int NejmensiPismo = 5;
    static constexpr int NejvetsiPismo = 36;
    // The photo size, in millimetres.
    static constexpr int NejvetsiObrazek = 120;

    QLabel *Label1 = nullptr;
    QComboBox *cmbPismo = nullptr;
    QLabel *Label2 = nullptr;
    QLineEdit *txtNadpis = nullptr;
    QLabel *Label3 = nullptr;
    QLineEdit *txtImgSize = nullptr;
    QLabel *Label4 = nullptr;
    QGroupBox *Frame1 = nullptr;
    QLabel *Label5 = nullptr;
    QRadioButton *opt[2] = {nullptr, nullptr};
    QLabel *pic = nullptr;
    QPushButton *cmdOK = nullptr;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // The dialog of the print preview `tisk`, which it reads and writes.
    explicit frmNastavTisk(frmTisk *tisk);
    // The photo size box as its number; a size out of range is refused with a message
    // and the box takes an allowed one. False when refused.
    bool txtImgSize_Validate();
    void cmdOK_Click();

    frmTisk *m_tisk;
};
