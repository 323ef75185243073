#pragma once

#include "common/mdiform.h"

#include <memory>
#include <optional>

class QLabel;
class QTimer;
class VarnexEditUni;
class Variant;
class ColumnTable;
namespace dao { class Recordset; }

// The overview: the records of the current section in a table editor control, with a
// strip below that shows the current record's description field. An MDI child of the
// main window.
class frmPrehled : public MdiForm<frmPrehled>
{
    Q_OBJECT
    friend MdiForm<frmPrehled>;

public:
    ~frmPrehled() override;
    // Shows the window inside the main window's MDI area, where it was placed last.
    void Zobraz();
    // Makes the window the active one of the main window and gives it the focus.
    void SetFocus();
    // Loads the current section: its columns from the field definitions, its records.
    void NactiData();
    // Fills the grid from Zaznamy.
    void ReadFlg();
    // How a selection came out: loaded into the grid; a condition that selects nothing;
    // a condition the database refused (or no current section); a catalog that another
    // workstation holds locked. The grid stays as it was unless loaded.
    enum class Vyber { Nacteno, Nic, Odmitnuto, Zamceno };
    // The current section's records meeting `podminka` (all of them when it is empty)
    // into the grid, as the selection window and the control's own selection ask. With
    // `iNic` a condition that selects nothing empties the grid (Nacteno) instead.
    Vyber NactiVyber(const QString &podminka, bool iNic = false);
    // A command on the current record: the item Index of the grid's record menu, which
    // the main window's record commands call too (0 edit, 1 copy, 2 delete the current
    // or marked rows, 4 change the preview's attachment, 5 add one, 7 print the record's
    // detail with the preview's attachment as its photo). Every code ends by bringing the
    // preview in step, unless there was no record to act on.
    void vEdit_Record(qint16 &Index);
    // The strip shows the description field of the grid's current row, nothing without
    // one. Whoever changes the rows without moving the cursor (a load, a delete, a
    // record written back) calls it: the control reports only a move to another row.
    void UkazPopis();

    // The records shown; the selection window puts a narrowed query here before ReadFlg.
    std::unique_ptr<dao::Recordset> Zaznamy;

    VarnexEditUni *VEdit = nullptr;
    QLabel *lblPopis = nullptr;
    QLabel *txtPopis = nullptr;
    QTimer *tmr = nullptr;

private:
    frmPrehled();
    void Form_Unload() override;
    void NastavSloupce(bool define);
    void VEdit_RowChange();
    // The control's selection: the section's records meeting the condition, or all of
    // them when it is empty. A condition that selects nothing comes back emptied and the
    // rows stay as they were.
    void VEdit_Vybrano(Variant &cWhere);
    void VEdit_DblClick();
    // The header menu's "Obnovení přehledu": the section read again, under the selection
    // in force.
    void VEdit_Refresh();
    // The control deleted the current row: its record and attachment rows go, together.
    void VEdit_Smazano();
    // The default captions and alignments of the column set-up, from the section's
    // default definitions; and the captions and alignments chosen there, stored in its
    // definitions. Each column goes by its own field, whatever fields are hidden.
    void VEdit_DefaultHeader(ColumnTable &aDefHeader);
    void VEdit_ChangeHeader();
    // The current row's key; 0 when there is no record.
    qint32 aktualniKlic() const;
    void tmr_Timer();
    // The strip's text for a value of the description field.
    void showDescription(const QString &text);
    // ReadFlg's work; false when the window went or a later load took over meanwhile.
    bool readRows();
    // How many records the overview shows at most; nullopt when the limit is off.
    static std::optional<qint32> LimitZaznamu();

    // The column (and field of Zaznamy) of the description field; -1 when the section
    // shows none, so that the strip never shows a neighbour's value.
    int SloupecPopisu = -1;
    // Each load takes the next number; a load that finds a later one running gives way.
    quint64 m_load = 0;
    qint16 m_menuItems = 0;  // record menu items made so far
    int m_reading = 0;       // loads under way; the grid's own row moves then must not yield
    // The count of the section's records, when the query reads no further than the limit;
    // taken by the next ReadFlg.
    int m_celkem = -1;
};

// The overview is open.
inline bool PrehledOtevren()
{
    return frmPrehled::Loaded();
}

// The text a record's field shows in the overview: the value in the regional form, a
// Null as nothing. A tab would split the row string, so it shows as a blank.
QString TextBunky(const class Variant &value);
