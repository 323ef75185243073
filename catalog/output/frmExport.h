#pragma once

#include <QDateTime>
#include "common/modalform.h"

class QLabel;
class QLineEdit;
class QPushButton;

// Publishing a catalog release into Internet/: the changes-since date, the attachments
// changed after it, the program files, a compacted copy of the catalog and the release
// list. A modal window.
class frmExport : public ModalForm<frmExport>
{
    Q_OBJECT
    friend ModalForm<frmExport>;

public:
    // Loads and shows the window; returns when it has closed.
    void Zobraz();

    QLabel *Label1 = nullptr;
    QLineEdit *txtDatum = nullptr;
    QPushButton *cmdExport = nullptr;
    QPushButton *cmdKonec = nullptr;
    QLabel *lbl = nullptr;
    QLabel *picStatus = nullptr;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    frmExport();
    // A running export is not left half-way: the window stays until it is done.
    void Form_QueryUnload(bool &Cancel) override;
    void Form_Load();
    void cmdExport_Click();
    // The run past the questions; false when it stopped at a failure it reported.
    bool export_();
    void status(const QString &message);
    void fail(const class VbError &e);

    QDateTime m_datum;
    bool m_running = false;
    bool m_asking = false;
    bool m_editing = false;
};
