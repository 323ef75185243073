#pragma once

#include "common/modalform.h"

class QPushButton;
class VarnexEditUni;
class Variant;

// The catalog's sections: a modal window whose grid lists them by name, where the user
// renames them in place, adds and deletes rows, and saves. A new section gets its
// default field definitions; a deleted one takes its definitions with it.
class frmSekce : public ModalForm<frmSekce>
{
    Q_OBJECT
    friend ModalForm<frmSekce>;

public:
    // Reads the sections and shows the window; returns when it has closed.
    void Zobraz();
    // Writes the changed rows; unless `bezHlaseni`, the saved notice follows. False when
    // a name is empty or another section's, before anything is written, or when the
    // database refused a row (the user was told either way): the rows before it are
    // written and read so, that row and those after it keep their changes.
    bool UlozZmeny(bool bezHlaseni);

    VarnexEditUni *VEdit = nullptr;
    QPushButton *cmdSave = nullptr;
    QPushButton *cmdOK = nullptr;
    QPushButton *cmdEnd = nullptr;

private:
    frmSekce();
    // Unsaved edits are let go only when the user says so.
    void Form_QueryUnload(bool &Cancel) override;
    void Form_Load();
    void NastavGridSekce();
    void NactiSekceGrid();
    // Whether the names the save would leave can be told apart in the section menus;
    // otherwise says which cannot, and puts the cursor on its row.
    bool NazvyRozlisitelne();
    bool UlozSekce();
    void VEdit_AddRow(QString &AddString);
    void VEdit_Smazat(bool &Cancel);
    void VEdit_Change(Variant &OldValue, Variant &NewValue);
    // The section number in a row's key cell; 0 for a row not stored yet.
    qint32 klic(qint32 row) const;

    bool m_zmeneno = false;
};
