#pragma once

#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

// The control's own dialogs. They live in the library's namespace: the catalog program
// has windows of its own under some of the same names (frmVyber among them).
namespace tabulix {

// What both selection dialogs share: the column's caption, the operator, the value and
// the two buttons. "Vybrat" (or Enter in the value) leaves the value and the operator in
// the library's selection input; "Konec" (or Esc) leaves nothing. Translated when made.
class SelectionDialog : public QDialog
{
    Q_OBJECT
public:
    QLabel *lbl = nullptr;     // the column's caption
    QComboBox *cmb = nullptr;  // the operator
    QLineEdit *txt = nullptr;  // the value
    QPushButton *cmd = nullptr;
    QPushButton *cmdEnd = nullptr;

protected:
    explicit SelectionDialog(QWidget *parent);
    // Lays out the form with `top` above the condition and `bottom` between it and the buttons.
    void build(QWidget *top, QWidget *bottom);
    virtual void cmd_Click();
};

// One condition on the column.
class frmVyber : public SelectionDialog
{
    Q_OBJECT
public:
    explicit frmVyber(QWidget *parent = nullptr);
};

// A further condition, joined to the selection in force with "and" or "or".
class frmDalsiVyber : public SelectionDialog
{
    Q_OBJECT
public:
    explicit frmDalsiVyber(QWidget *parent = nullptr);
    QLabel *lblOld = nullptr;  // the selection in force, in parentheses
    QRadioButton *optAnd = nullptr;
    QRadioButton *optOr = nullptr;

protected:
    void cmd_Click() override;
};

// The total of a column.
class frmSuma : public QDialog
{
    Q_OBJECT
public:
    explicit frmSuma(QWidget *parent = nullptr);
    QLabel *lbl = nullptr;     // the caption or text of the cell the menu was opened on
    QLineEdit *txt = nullptr;  // the total
};

}  // namespace tabulix
