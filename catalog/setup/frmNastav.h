#pragma once

#include <QDialog>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

// The application settings: whether the overview loads only a limited number of records,
// and how many. Modal; its result reaches the overview through the settings.
class frmNastav : public QDialog
{
    Q_OBJECT
public:
    // The window, made on first use; it unloads itself when it closes.
    static frmNastav &Form();
    static frmNastav *Loaded();

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
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void reject() override;

private:
    frmNastav();
    void Form_Load();
    void txtAllRecords_LostFocus();

    bool m_zmeneno = false;
};
