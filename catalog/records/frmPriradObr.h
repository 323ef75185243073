#pragma once

#include "common/modalform.h"

class QLabel;
class QLineEdit;
class QPushButton;

// The attachment window: attaches an image or document file to a record, replaces or
// re-describes an attachment, or removes it. Modal; the caller loads it with LoadForm
// and then shows it.
class frmPriradObr : public ModalForm<frmPriradObr>
{
    Q_OBJECT
    friend ModalForm<frmPriradObr>;

public:
    ~frmPriradObr() override;

    // Fills the window with attachment `poradi` of record `inter`; a number without a
    // row (0) makes a new attachment. Does not show the window.
    void LoadForm(qint32 inter, qint32 poradi);

    QLabel *Label1 = nullptr;
    QLineEdit *txtPopis = nullptr;
    QLabel *img = nullptr;
    QLabel *lblSoubor = nullptr;  // the file's name where it shows no picture
    QPushButton *cmdHledat = nullptr;
    QPushButton *cmdUlozit = nullptr;
    QPushButton *cmdVymazat = nullptr;
    QPushButton *cmdEnd = nullptr;

private:
    frmPriradObr();
    void cmdHledat_Click();
    void cmdUlozit_Click();
    void cmdVymazat_Click();
    // Shows the file at `path` under the name `soubor`: a picture itself, else its icon.
    void UpravNahled(const QString &path, const QString &soubor);
    // Copies the chosen file into img/ unless it lies there already; false when the
    // user declined to replace a file of that name.
    bool copyIn(const QString &soubor);

    qint32 m_klic = 0;
    qint32 m_poradi = 0;
    QString m_zdroj;  // the file the save puts into img/
};
