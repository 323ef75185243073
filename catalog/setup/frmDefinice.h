#pragma once

#include "common/modalform.h"

#include <QList>
#include <vector>

class QAction;
class QComboBox;
class QFrame;
class QLabel;
class QMenu;
class QPushButton;
class VarnexEditUni;
class Variant;
struct RadekDefinice;

// The field definitions of a section: one grid row per field with its order, whether
// the overview shows it, whether it is the description field, its caption, type and
// alignment. Saving converts the stored values of a field whose type changed. A copy
// panel copies the saved definitions to a section without records. Modal.
class frmDefinice : public ModalForm<frmDefinice, QList<qint32>>
{
    Q_OBJECT
    friend ModalForm<frmDefinice, QList<qint32>>;

public:
    // Shows the window on the first section by name and returns, once it has closed,
    // the sections whose definitions it wrote (saved or copied into), each once: the
    // window's result, for the window itself is gone by then.
    static QList<qint32> Zobraz();

    // Writes the grid as the selected section's definitions, after telling how many
    // stored values would not convert; false (after saying why, or when the user held
    // back) and the edits stay in the grid. Quiet: no saved notice.
    bool UlozDefinice(bool quiet);

    // True after a save of the section loaded last.
    bool Ulozeno = false;
    // The user accepted the conversion warning; asked once while the program runs.
    static bool KonverzePotvrzena;

    QLabel *Label3 = nullptr;
    QComboBox *cmb = nullptr;
    QPushButton *cmdCopy = nullptr;
    QFrame *fraDefinice = nullptr;
    QFrame *Frame1 = nullptr;
    VarnexEditUni *VEdit = nullptr;
    QPushButton *cmdPN = nullptr;
    QPushButton *cmdPD = nullptr;
    QPushButton *cmdVN = nullptr;
    QPushButton *cmdSave = nullptr;
    QPushButton *cmdOK = nullptr;
    QPushButton *cmdEnd = nullptr;
    QFrame *fraCopy = nullptr;
    QLabel *Label1 = nullptr;
    QComboBox *cmbCopy = nullptr;
    QPushButton *cmdCopyOK = nullptr;
    QPushButton *cmdCopyEnd = nullptr;
    QMenu *mnuFce = nullptr;
    QAction *mnuPN = nullptr, *mnuPD = nullptr, *mnuVN = nullptr;

private:
    frmDefinice();
    // Unsaved edits: the question whether to save them first.
    void Form_QueryUnload(bool &Cancel) override;
    void Form_Load();
    void NastavGridDefinice();
    void NactiDefinice();
    void NaplnGridDefinice(const std::vector<RadekDefinice> &radky, const QString &stav);
    std::vector<RadekDefinice> radkyGridu() const;
    // The changed state: the section list and the copy are closed until a save.
    void zmeneno(bool changed);
    void ulozena(qint32 sekce);
    void posun(int smer);
    bool potvrdKonverzi();
    void mnuVN_Click();
    void cmdCopy_Click();
    void cmdCopyEnd_Click();
    void cmdCopyOK_Click();
    void VEdit_BeforeEdit(Variant &OldValue, bool &Cancel);
    void VEdit_BeforeChange(Variant &OldValue, Variant &NewValue, bool &Cancel);
    void VEdit_CiselData(QString &Value);
    void VEdit_MouseUp(qint16 &Button, qint16 &Shift, float &x, float &y);

    bool m_zmeneno = false;
    bool m_nacitani = false;
    bool m_menuOvladace = false;  // the control's own menu took the current right click
};
