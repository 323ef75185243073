#pragma once

#include "common/mdiform.h"
#include "data/currentoverview.h"
#include "vberror.h"

#include <QHash>
#include <functional>
#include <optional>

class QLabel;
class QTimer;
class VarnexEditUni;
class Variant;
class ColumnTable;
class OverviewReader;

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
    // The records are read in the background: this returns once the first of them are in
    // the grid (all of them for a small section); the rest follow while the window goes
    // on answering, and a later load, or the window's closing, drops them.
    void NactiData();
    // Fills the grid with the records of the query in force, as NactiData does.
    void ReadFlg();
    // Records of a load are still arriving.
    bool Nacita() const;
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

Q_SIGNALS:
    // A load has put its last row into the grid (or failed).
    void nacteno();

private:
    frmPrehled();
    void Form_Unload() override;
    // The condition in force shows in the control, for its own selection to go on from.
    void UkazPodminku();
    // A record the edit window saved: a row added for it, or its own row rewritten, with
    // its cells in the grid's columns.
    void ZaznamZmenen(AktualniPrehled::Zmena zmena, qint32 klic, const QStringList &texty);
    void PridejRadek(const QStringList &texty);
    // False when the record has no row (yet).
    bool PrepisRadek(qint32 klic, const QStringList &texty);
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
    // Starts reading `query` into the grid and waits, letting events run, for its first
    // answer. Nacteno with the first rows in; Nic when `keepIfEmpty` and there is no
    // record (the rows stay as they were); a failure to read raises its error, the rows
    // staying. A load that gave way to a later one, or a window that went, is Nacteno too
    // (`superseded` tells). `prepare`, if given, sets the grid up for the rows while the
    // reader is already at them; its answers wait until it is done, and a failure of it
    // drops the read.
    Vyber readRows(const DotazPrehledu &query, bool keepIfEmpty, bool *superseded = nullptr,
                   const std::function<void()> &prepare = {});
    // The reader's answers.
    void rowsRead(const QStringList &rows, const QList<qint32> &keys);
    void rowsCounted(int total);
    void rowsEnded();
    void rowsFinished();
    void readFailed(const VbError &error);
    // The first answer of a load: the grid emptied for its rows.
    void beginRows();
    // The last rows of a load in: the status text goes, the grid draws, the preview
    // follows. The count, if any, comes after.
    void endRows();
    // How many records the overview shows at most; nullopt when the limit is off.
    static std::optional<qint32> LimitZaznamu();

    VarnexEditUni *VEdit = nullptr;
    // Reads the records shown into the grid.
    OverviewReader *m_reader = nullptr;
    // The column (and field of Zaznamy) of the description field; -1 when the section
    // shows none, so that the strip never shows a neighbour's value.
    int SloupecPopisu = -1;
    // Each load takes the next number; a load that finds a later one running gives way.
    quint64 m_load = 0;
    qint16 m_menuItems = 0;  // record menu items made so far
    int m_reading = 0;       // loads under way; the grid's own row moves then must not yield
    // The load under way: whether it has answered, how, the rows it has put in, the count
    // of all records it was told (-1 for none).
    bool m_answered = false;
    bool m_keepIfEmpty = false;
    bool m_nothing = false;
    bool m_rowsEnded = false;  // every row of the load is in
    std::optional<VbError> m_failure;
    int m_loaded = 0;
    int m_celkem = -1;
    DotazPrehledu m_dotaz;  // what the load under way reads
    // Records saved, added or deleted while a load is under way: a row that the reader
    // read before the change must not bring the record back as it was, nor twice.
    struct Zmeneny {
        bool shown = false;    // its row is in the grid: a later one is left out
        bool deleted = false;  // gone from the overview
        QStringList texty;     // saved but not shown yet: its row comes with these texts
    };
    QHash<qint32, Zmeneny> m_changed;
};
