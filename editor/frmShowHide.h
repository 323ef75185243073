#pragma once

#include "columntable.h"
#include "tabulix_global.h"

#include <QDialog>
#include <QPointer>

class QPushButton;
class VarnexEditUni;
namespace dao { class Database; }

namespace tabulix {

// The column chooser: one row per column of the calling control (shown, caption,
// alignment) in an inner table editor; OK replaces the user's stored layout of that grid.
// The calling control sets the members, shows the window modally and reads Zmena.
class TABULIX_EXPORT frmShowHide : public QDialog
{
    Q_OBJECT
public:
    explicit frmShowHide(QWidget *parent = nullptr);

    ColumnTable PoleDefault{4};
    ColumnTable PoleZmen{4};
    QString GridName;
    QString UserName;
    void SetData(dao::Database *db) { m_db = db; }
    void SetUserControl(VarnexEditUni *control) { m_control = control; }
    // True once a save has succeeded.
    bool Zmena() const { return m_zmena; }

    // Reads the stored rows and lists the columns; the control calls it before showing.
    void Form_Load();
    // Stores the listed rows as the grid's layout; false (after saying why) when no row
    // is shown or the database refused.
    bool SaveLayout();

    VarnexEditUni *VSHinUC = nullptr;
    QPushButton *cmdDefault = nullptr;
    QPushButton *cmdOK = nullptr;
    QPushButton *cmdKonec = nullptr;

protected:
    void changeEvent(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void reject() override;

private:
    void SetupColumns();
    void FillRows();
    void cmdDefault_Click();
    void VSHinUC_Change(const QString &newValue);
    // Adds one inner row for grid column i, hidden for a system column.
    void addRow(int i, const QString &column, const QString &width, bool shown, const QString &caption,
                const QString &alignText);
    QString alignText(const QString &letter) const;
    QString alignLetter(const QString &text) const;

    dao::Database *m_db = nullptr;
    QPointer<VarnexEditUni> m_control;
    bool m_zmena = false;
    bool m_zmeneno = false;
    QString m_yes, m_no, m_left, m_centre, m_right;
};

}  // namespace tabulix
