#pragma once

#include "common/modalform.h"

class QFileSystemModel;
class QLabel;
class QPushButton;
class QTreeView;

// The catalog update: a newer release, from the web address of the owner record or from
// a chosen folder, handed to the updater, after which the program ends so that the
// updater can replace its files. A modal window.
class frmImport : public ModalForm<frmImport>
{
    Q_OBJECT
    friend ModalForm<frmImport>;

public:
    // Loads and shows the window; returns when it has closed.
    void Zobraz();

    QPushButton *cmdInternet = nullptr;
    QPushButton *cmdAdresar = nullptr;
    QPushButton *cmdKonec[2] = {};
    QTreeView *dir = nullptr;
    QFileSystemModel *dirModel = nullptr;
    QPushButton *cmdOK = nullptr;
    QLabel *lbl = nullptr;
    QLabel *picStatus = nullptr;

private:
    frmImport();
    // A download or an update under way is not left half-way: the window stays until
    // it is done.
    void Form_QueryUnload(bool &Cancel) override;
    void Form_Load();
    void cmdAdresar_Click();
    void cmdInternet_Click();
    void cmdOK_Click();
    // Fetches the release into dnload/; false when a required file did not arrive.
    bool StahniAktualizaci();
    // Starts the updater and ends the program; the release's stamp is kept as applied
    // once the updater has started.
    void SpustAktualizaci(const QString &razitko);
    void status(const QString &text);
    void busy(bool on);

    QString m_adresa;
    QString m_zdroj;
    bool m_running = false;
};
