#pragma once

#include "codelists.h"
#include "columntable.h"
#include "tabulix_global.h"
#include "variant.h"

#include <QFont>
#include <QPixmap>
#include <QPointer>
#include <QVariantMap>
#include <QWidget>
#include <memory>
#include <vector>

class FlexGrid;
class MessageList;
class QAction;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
namespace dao { class Database; }
namespace tabulix { class SortJob; }

// The grid's merge settings.
enum VeMerge : int {
    VeMergeNever = 0,
    VeMergeFree = 1,
    VeMergeRestrictRows = 2,
    VeMergeRestrictCols = 3,
    VeMergeRestrictAll = 4,
};

// One cell's background colour; declared for hosts, used by no member.
struct tCellBkGround {
    qint32 Row = 0;
    qint32 Col = 0;
    Variant Color;
};

// The table editor control. A host places it on a window, hands it its database and
// translated texts, defines the columns, fills rows as tab-separated strings, reads the
// cells back and answers the events.
//
// Members keep their interface names. A property is a getter Name() and a setter
// Name(value) (indexed ones take the index first). Every argument is a reference; those
// a member writes back are non-const.
//
// Events are signals whose arguments are non-const references: a handler changes them
// (Cancel, the new row of AddRow, the default captions). They are delivered directly;
// a host must connect them in its own thread with the default or a direct connection,
// never a queued one, or what the handler writes is lost.
// The method DefaultHeader raises the signal DefaultHeaderEvent and the method Tisk
// stands beside the signal TiskEvent: C++ cannot give a method and a signal one name.
class TABULIX_EXPORT VarnexEditUni : public QWidget
{
    Q_OBJECT
public:
    // The column chooser's inner grid carries this instance name; it keeps no layout.
    static constexpr const char *ChooserInstanceName = "VSHinUC";

    // Attributes of a column in Atributy.
    enum Attribute : int {
        AttrData = 1, AttrType = 2, AttrMaxLen = 3, AttrCisel = 4, AttrFormat = 5,
        AttrEditable = 6, AttrUpdateFlg = 7, AttrAlign = 8,
    };
    // Attributes of a column in the layout tables PoleDefault and PoleZmen.
    enum LayoutAttribute : int { LayData = 1, LayWidth = 2, LayCaption = 3, LayAlign = 4 };

    explicit VarnexEditUni(QWidget *parent = nullptr);
    ~VarnexEditUni() override;

    // --- the class interface, in its order ---
    void AddData(const QString &row);
    bool AddError() const { return m_AddError; }
    QString AddString() const { return m_AddString; }
    void AddString(const QString &value) { m_AddString = value; }
    void CmdAddVisible(const bool &value);
    void CmdDelVisible(const bool &value);
    qint32 Col() const;
    void Col(const qint32 &value);
    qint16 ColAlign(const qint32 &pIndex) const;
    void ColAlign(const qint32 &pIndex, const qint16 &value);
    bool ColEditable(const qint32 &pIndex) const;
    void ColEditable(const qint32 &pIndex, const bool &value);
    qint32 Cols() const;
    void Cols(const qint32 &value);
    qint32 ColWidth(const qint32 &pIndex) const;
    void ColWidth(const qint32 &pIndex, const qint32 &value);
    bool DeletedRow(const qint32 &pRow) const;
    // Raises DefaultHeaderEvent with the same table, for the host to fill.
    void DefaultHeader(ColumnTable &aDefault);
    quint8 Edited() const { return m_Edited; }
    void Edited(const quint8 &value);
    bool EnableSelect() const;
    void EnableSelect(const bool &value);
    bool EnableSort() const;
    void EnableSort(const bool &value);
    void EnableHideCol(const bool &value);
    void EnableSetupCols(const bool &value);
    qint32 FillStyle() const;
    void FillStyle(const qint32 &value);
    void FirstCol(const qint16 &value);
    qint32 FocusRect() const;
    void FocusRect(const qint32 &value);
    QFont Font() const;
    void Font(const QFont &value);
    qint16 FreezeCols() const;
    void FreezeCols(const qint16 &value);
    Variant GetCol(const qint32 &pData, const qint32 &pIndex) const;
    QString GridName() const { return m_GridName; }
    void GridName(const QString &value);
    Variant Init(const qint32 &pCols = 1, const qint32 &pFixedCols = 0);
    void IsChanged(const bool &value) { m_IsChanged = value; }
    VeMerge MergeCells() const;
    void MergeCells(const VeMerge &value);
    bool MergeCol(const qint32 &Index) const;
    void MergeCol(const qint32 &Index, const bool &value);
    bool MergeRow(const qint32 &Index) const;
    void MergeRow(const qint32 &Index, const bool &value);
    void RecordSetRows(const qint32 &value) { m_RecordSetRows = value; }
    bool Redraw() const;
    void Redraw(const bool &value);
    qint32 Row() const;
    void Row(const qint32 &value);
    qint32 RowHeight(const qint32 &pRow) const;
    void RowHeight(const qint32 &pRow, const qint32 &value);
    qint32 RowHeightMin() const;
    void RowHeightMin(const qint32 &value);
    qint32 Rows() const;
    qint32 RowSel() const;
    void RowSel(const qint32 &value);
    // The host keeps ownership and may close, destroy or replace the database at any
    // time (a restore does): the control watches its lifetime and leaves a database
    // that has gone alone. The layout widths are written when the host window closes.
    void SetData(dao::Database *db);
    // The library takes a copy, shared by every control and dialog of the library.
    void SetLang(const MessageList *texts);
    void SetRecords(const QString &text);
    qint32 SortCol(const bool &pAsc = true) const;
    void SortCol(const bool &pAsc, const qint32 &value);
    QString TMatrix(const qint32 &pRow, const qint32 &pCol) const;
    void TMatrix(const qint32 &pRow, const qint32 &pCol, const QString &value);
    QString RData(const qint32 &pCol) const;
    void RData(const qint32 &pCol, const QString &value);
    qint32 FirstRow() const;
    qint32 TopRow() const;
    QString UserName() const { return m_UserName; }
    void UserName(const QString &value) { m_UserName = value; }
    QString Where() const { return m_Where; }
    void Where(const QString &value) { m_Where = value; }
    QString WhereRep() const { return m_WhereRep; }
    void WhereRep(const QString &value) { m_WhereRep = value; }
    QString WhereText() const;
    void WhereText(const QString &value);
    bool WordWrap() const;
    void WordWrap(const bool &value);
    void Add();
    void Delete();
    void HideRow();
    void ResetImg(const qint32 &pCol);
    void SetImg(const qint32 &pRow, const qint32 &pCol);
    void Tisk();
    Variant HighlightRow(const qint32 &pRow = 0, const Variant &pColor = 0xC0C000);
    Variant HighlightCols(const qint32 &pStartCol = 0, const qint32 &pEndCol = 0, const Variant &pColor = 0xC0C000);
    Variant SetCol(const qint32 &pIndex, const QString &pCaption, const qint16 &pWidth, const QString &pAlign,
                   const QString &pData, const QString &pDataType, const qint16 &pMaxLen,
                   const QString &pFormat = QString(), const bool &pCisel = false, const bool &VEdit = true,
                   const Variant &pUpdateFlg = true);
    Variant SetMenu(const qint16 &pIndex, const QString &pCaption, const bool &pEnable = true);
    Variant Ciselnik(const qint32 &pIndex, const QString &pSql, const qint16 &pMaxLen);
    Variant CiselnikNapln(const qint32 &pIndex, const QString &pValue, const QString &pData = QString());
    Variant Clear();
    void flg_KeyPress(qint16 &KeyAscii);
    void flg_DblClick();
    void flg_GotFocus();
    void flg_LeaveCell();
    void SortFlg(const qint32 &SortCol = -1);

    // --- stored with the host window's design ---
    // There is no design-time property store here: a host that keeps the control's
    // settings saves WriteProperties() and hands it back to ReadProperties() after it
    // created the control. Names absent from the map take their defaults.
    void ReadProperties(const QVariantMap &bag);
    QVariantMap WriteProperties() const;

    // --- for the library's own dialogs and tests ---
    FlexGrid *grid() const { return flg; }
    const ColumnTable &Atributy() const { return m_Atributy; }
    const ColumnTable &PoleDefault() const { return m_PoleDefault; }
    ColumnTable &PoleZmen() { return m_PoleZmen; }
    const CodeLists &CodeListTables() const { return m_codeLists; }
    QMenu *PopupFce() const { return Popup_Fce; }
    QMenu *PopupRecord() const { return Popup_Record; }
    // The working grid name, under which the layout is kept.
    QString GridNameWork() const { return m_GridNameWork; }
    // The live data rows (not the placeholder of an empty grid, not deleted rows).
    qint32 LiveRows() const;
    // Whether a data row is live: neither deleted nor the placeholder.
    bool LiveRow(const qint32 &pRow) const;
    // The caption of the window the control sits on.
    QString HostCaption() const;
    // The check mark shown in checked cells of type Z columns (picture 1 of iml).
    static QPixmap CheckMark();
    // The record counter's caption for n rows shown of t records.
    static QString CounterText(const qint32 &n, const qint32 &t);
    // The changed state (IsChanged has no getter in the class interface).
    bool ChangedState() const { return m_IsChanged; }
    // Whether an in-cell editor is open.
    bool Editing() const;
    // Whether a sort is under way: asked for, its order not yet in the grid. From
    // BackgroundSortRows data rows on, a sort works out the order on a thread of its own
    // and puts the rows into it at a later turn of the event loop, so that the window
    // keeps answering; SortFlg returns before. Tests set a small figure.
    bool Sorting() const;
    static qint32 BackgroundSortRows();
    static void BackgroundSortRows(const qint32 &rows);
    // A number cell's value as the sort and the sum read it: "," as the decimal comma,
    // blanks and no-break spaces between digits passed over, the number at the start of
    // the text; 0 when there is none.
    static double CellNumber(QStringView text);

Q_SIGNALS:
    void ColChange();
    void RowChange();
    void RowColChange();
    void BeforeChange(Variant &OldValue, Variant &NewValue, bool &Cancel);
    void BeforeEdit(Variant &OldValue, bool &Cancel);
    void Change(Variant &OldValue, Variant &NewValue);
    void Vybrano(Variant &cWhere);
    void Funkce();
    void Record(qint16 &Index);
    void Refresh();
    // The event Tisk.
    void TiskEvent(bool &ExtTisk);
    void UpdateFlg(QString &Prijmeni);
    void Click();
    void DblClick();
    void TxtDblClick(QString &Text);
    void AddRow(QString &AddString);
    void Konec();
    void Vyber();
    void Smazat(bool &Cancel);
    void Smazano();
    void MouseUp(qint16 &Button, qint16 &Shift, float &x, float &y);
    void ChangeHeader();
    // The event DefaultHeader.
    void DefaultHeaderEvent(ColumnTable &aDefHeader);
    void CiselData(QString &Value);

protected:
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void createChildren();
    void createMenus();
    void startUp();
    void layOutButtons();
    void layOut();
    // The strip under the grid: the counter, the seek text and the filter text right of
    // the buttons (those that show; in update mode their places), none over another.
    void placeStrip();
    void layOutIfPending();
    QWidget *hostWindow() const;
    // The host's database while it is alive and open, else null.
    dao::Database *database() const;
    void refreshSeparatorM2();
    // The column chooser, and its saved layout applied to the grid by the columns' names.
    void mnuSHcol_Click();
    void applyChosenLayout();
    void refreshCounter();
    void readLayout(int column);
    void writeLayout();
    void settleGridName();
    QString layoutGridName();
    bool isCheckColumn(int column) const;
    void setCheckCell(int row, int column, bool hideText);
    void markCells(int firstRow, int lastRow, int column);
    void watchHostWindow();

    // in-cell editing
    void connectGrid();
    bool editorEvent(QObject *watched, QEvent *event);
    // KeyAscii is the character typed, a whole code point, or 32 for a double click.
    void StartCellEdit(QWidget *editor, char32_t KeyAscii);
    // mayRefuse False: a text the cell cannot take waits in the editor without a beep,
    // for focus losses that are no move within the window (another application, closing).
    void CommitCellEdit(bool mayRefuse = true);
    void MoveCellAfterEdit(QWidget *frame, QWidget *editor, int KeyCode, int Shift);
    void toggleCheck();
    void closeEditors();
    void restoreEditCell();
    void refuseEntry();
    QString typeLetter(int column) const;
    bool flagAttribute(int attribute, int column, bool absent) const;
    bool isEditable(int column) const;
    bool isCodeListColumn(int column) const;
    bool writesCell(int column) const;
    QString boxValue() const;
    void markRowUpdated(int row);
    bool editOpen(bool codeList) const;

    // browsing
    void gridKeyDown(int &KeyCode, int &Shift);
    void gridClick();
    // A character typed on the grid, a whole code point (flg_KeyPress's 16-bit code
    // holds no character outside the Basic Multilingual Plane).
    void gridKeyTyped(char32_t KeyAscii);
    void gridMouseUp(int Button, int Shift, float x, float y);
    void gridMouseDown(int Button, int Shift, float x, float y);

    // popup menus and their commands
    void popUpRecordMenu(const QPoint &at);
    void popUpFunctions(const QPoint &at);
    void mnuVyber_Click(bool further);
    void mnuZrusVyber_Click();
    void mnuSuma_Click();
    void mnuHideCol_Click();
    // Builds the selection from what a selection dialog left, once the menu has closed.
    void BuildSelection();
    void gridRowColChange();
    void gridEnterCell();
    void applyBrowseSelectionMode();
    void seekInSortColumn();
    void moveToNextCell();
    void moveRowBy(int step);
    void moveCell(int row, int col);
    void moveQuietly(int row, int col);
    int visibleRowFrom(int row, int step) const;
    int shownColumnFrom(int col) const;
    bool rowHidden(int row) const;
    int stateColumn() const { return Cols() - 1; }

    // sorting
    // A sort asked for: by a column clicked (the direction turns on the same column), by
    // a column in the direction given (the function menu) or again by the remembered one.
    struct SortRequest {
        enum Kind { Toggle, Given, Again } kind = Again;
        int col = -1;
        bool ascending = true;
        bool keepMarks = false;   // the host wrote the sort marks after asking
    };
    void sortFromMenu(bool ascending);
    void requestSort(SortRequest request);
    void runSort(SortRequest request);
    // Sorts the resolved request now or starts its job.
    void sortResolved(const SortRequest &request);
    void startSortJob(const SortRequest &request);
    void takeSortTexts(const std::weak_ptr<tabulix::SortJob> &which);
    bool sortMayLand() const;
    void sortJobDone(const std::weak_ptr<tabulix::SortJob> &done);
    // The order in the grid (positions of the data rows; none when the column's type
    // sorts nothing), and what the request leaves in the marks and the current cell.
    void finishSort(const SortRequest &request, const std::vector<int> *positions);
    // The sort under way and those waiting are of rows that go (a refill, the end).
    void dropSorts();
    QString currentRowText() const;
    void reportRecordMoved(const QString &before);

    // rows
    bool editSettled();
    bool appendRow(const QString &text);
    void removeUnsavedRow(int row);

    // child controls, by their design names
    FlexGrid *flg = nullptr;
    QFrame *fraTxt = nullptr;
    QLineEdit *txtEdit = nullptr;
    QFrame *fraCmb = nullptr;
    QComboBox *cmbEdit = nullptr;
    QPushButton *cmdAdd = nullptr;
    QPushButton *cmdDel = nullptr;
    QLabel *lblRecord = nullptr;
    QLabel *lblSeek = nullptr;
    QLabel *lbl = nullptr;
    QMenu *Popup_Fce = nullptr;
    QAction *mnuPolozka = nullptr, *m1 = nullptr, *mnuVyber = nullptr, *mnuZmenVyber = nullptr,
            *mnuZrusVyber = nullptr, *mnuSuma = nullptr, *mnuSortAsce = nullptr, *mnuSortDesc = nullptr,
            *m2 = nullptr, *mnuHideCol = nullptr, *mnuSHcol = nullptr, *m3 = nullptr, *mnuTisk = nullptr,
            *mnuRefresh = nullptr;
    QMenu *Popup_Record = nullptr;
    std::vector<QAction *> m_Record;  // the menu item array Record

    // state of the instance
    quint8 m_Edited = 0;
    QString m_AddString;
    bool m_AddError = false;
    QString m_GridName;      // as the host gave it
    QString m_GridNameWork;  // the name the layout is kept under
    QString m_UserName;
    QString m_Where;
    QString m_WhereRep;
    qint32 m_SortCol = 0;
    bool m_SortAsc = false;
    // The sort under way (taking the column's texts, then on a worker thread), what it
    // was asked (its column and direction resolved), and the grid's changes when it took
    // the texts: an order of rows that have changed since is worked out again.
    std::shared_ptr<tabulix::SortJob> m_sortJob;
    SortRequest m_sortRunning;
    quint64 m_sortChanges = 0;
    std::vector<SortRequest> m_sortQueue;   // asked while a job ran, in their order
    bool m_sortCursor = false;              // the wait pointer is the sort's
    // the cell under the mouse at the last press, on which the popup menus act
    qint32 m_popupRow = 0, m_popupCol = 0;
    // The readable text of the selection built through the function menu (without its
    // heading); empty when there is none. A further selection is offered while it is set.
    QString m_FiltrText;
    bool m_FiltrDalsi = false;  // the selection command running is a further one
    qint32 m_RecordSetRows = 0;
    bool m_IsChanged = false;
    qint16 m_FirstCol = 0;
    dao::Database *m_db = nullptr;
    std::weak_ptr<const void> m_dbLife;  // expires when the host's database is destroyed
    qint32 m_savedRow = 0, m_savedCol = 0;
    bool m_placeholder = false;  // row 1 is the empty placeholder left by Clear
    std::vector<int> m_checkColumns;  // the type Z columns
    QPointer<QWidget> m_hostWindow;
    bool m_writtenAtClose = false;  // the host window closed and the layout was written then

    ColumnTable m_Atributy{8};
    ColumnTable m_PoleDefault{4};
    ColumnTable m_PoleZmen{4};
    CodeLists m_codeLists;

    // the edit in progress: its cell and that cell's background before the edit
    int m_editRow = 0, m_editCol = 0, m_editBack = 0;
    bool m_committing = false;
    bool m_refused = false;        // a refused text waits in the editor for the user
    // Counts the refills of the grid (Clear, Init, a new column count): a row or column
    // remembered across a host event is stale once it has moved on.
    quint64 m_fillGeneration = 0;
    // the cell last reported through RowChange and ColChange
    int m_lastRow = 0, m_lastCol = 0;
    int m_quiet = 0;               // internal moves: the reported cell follows, no events
    bool m_holdCellEvents = false; // a move in two steps reports once, at its end
    bool m_fillStyleByHost = false;
};
