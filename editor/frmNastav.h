#pragma once

#include "tabulix_global.h"

#include <QDialog>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace tabulix {

class frmTisk;

// The print settings behind the preview's settings button: the report font size, the
// orientation and the heading, read from the preview window when it opens and written
// back to it by OK only.
class TABULIX_EXPORT frmNastav : public QDialog
{
    Q_OBJECT
public:
    explicit frmNastav(frmTisk *preview);

    QComboBox *cmbPismo = nullptr;
    QLineEdit *txtNadpis = nullptr;
    QGroupBox *fraOrientace = nullptr;
    QRadioButton *opt[2] = {nullptr, nullptr};
    QLabel *pic = nullptr;
    QPushButton *cmdOK = nullptr;

private:
    void cmdOK_Click();

    frmTisk *m_preview;
};

}  // namespace tabulix
