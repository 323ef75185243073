#pragma once

#include "common/mdiform.h"
#include "data/currentoverview.h"

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
// main window. It shows the current overview (data/currentoverview.h) and follows its
// notices; other windows reach the overview through that, never through its grid.
class frmPrehled : public MdiForm<frmPrehled>, public PohledPrehledu
{
    Q_OBJECT
    friend MdiForm<frmPrehled>;

public:
    ~frmPrehled() override;
    // Shows the window inside the main window's MDI area, where it was placed last.
    void Zobraz();
    // Makes the window the active one of the main window and gives it the focus.
    void SetFocus() override;
    // Loads the current section: its columns from the field definitions, its records.
    void NactiData();
    // Fills the grid from Zaznamy.
    void ReadFlg();
    // How a selection came out: loaded into the grid; a condition that selects nothing;
    // a condition the database refused (or no current section); a catalog that another
    // workstation holds locked. The grid stays as it was unless loaded.
    using Vyber = AktualniPrehled::Vyber;
    // The current section's records meeting `podminka` (all of them when it is empty)
    // into the grid, as the selection window and the control's own selection ask. With
    // `iNic` a condition that selects nothing empties the grid (Nacteno) instead.
    Vyber NactiVyber(const QString &podminka, bool iNic = false) override;
    // The current row's key; 0 when there is no record.
    qint32 AktualniKlic() const override;
    // The widths of the shown columns 1..n, twips.
    std::vector<int> SirkySloupcu() const override;
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

    QLabel *lblPopis = nullptr;
    QLabel *txtPopis = nullptr;
    QTimer *tmr = nullptr;

private:
    frmPrehled();
    void Form_Unload() override;
    // The condition in force shows in the control, for its own selection to go on from.
    void UkazPodminku();
    // A record the edit window saved: a row added for it, or its own row rewritten, with
    // its cells in the grid's columns.
    void ZaznamZmenen(AktualniPrehled::Zmena zmena, qint32 klic, const QStringList &texty);
    void PridejRadek(const QStringList &texty);
    void PrepisRadek(qint32 klic, const QStringList &texty);
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
    void tmr_Timer();
    // The strip's text for a value of the description field.
    void showDescription(const QString &text);
    // ReadFlg's work; false when the window went or a later load took over meanwhile.
    bool readRows();
    // How many records the overview shows at most; nullopt when the limit is off.
    static std::optional<qint32> LimitZaznamu();

    VarnexEditUni *VEdit = nullptr;
    // The records shown, read into the grid by ReadFlg.
    std::unique_ptr<dao::Recordset> Zaznamy;
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
