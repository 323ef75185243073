#pragma once

#include <QAbstractTableModel>
#include <QHash>
#include <QPixmap>
#include <QString>
#include <QStringView>

#include <memory>
#include <utility>
#include <vector>

// The formatting one cell may carry beyond its text. Kept only for cells that have any.
struct GridCellFormat {
    int backColor = 0;          // Windows BGR; 0 = the grid's own colour
    int foreColor = 0;
    QPixmap picture;
    int pictureAlignment = 1;   // left centre, as a fresh cell has it
    QString fontName;           // empty = the grid's font
    double fontSize = 0;        // 0 = the grid's size
    int bold = -1;              // -1 = the grid's weight

    bool isEmpty() const
    {
        return backColor == 0 && foreColor == 0 && picture.isNull() && pictureAlignment == 1
            && fontName.isEmpty() && fontSize == 0 && bold < 0;
    }
};

// The grid's cells, rows and columns, addressed as the grid addresses them (row 0 and
// the fixed columns included). A row is one string holding its cell texts, with the
// end offset of each cell beside it: an appended tab-joined row is kept as given, and a
// cell reads in constant time without an allocation per cell. Formatting is sparse,
// keyed by a row identity that moves with the row, so rows can be reordered cheaply.
//
// While deferred, rows appended at the end are stored but reach the views only at
// publish(), in one insertion; every other change is announced at once.
class GridModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    explicit GridModel(QObject *parent = nullptr);
    ~GridModel() override;

    int gridRows() const { return int(m_order.size()); }
    int gridCols() const { return m_cols; }
    void setGridRows(int rows);
    void setGridCols(int cols);

    QStringView cellView(int row, int col) const;
    QString cell(int row, int col) const { return cellView(row, col).toString(); }
    void setCell(int row, int col, const QString &text);
    // index == gridRows() appends.
    void insertGridRow(int index, const QString &tabJoined);
    void removeGridRow(int index);
    // Texts and formats go; rows, columns and their sizes stay.
    void clearCells();
    void clearRow(int row);   // texts and formats of one row

    int rowHeight(int row) const { return at(row).height; }   // -1 default
    void setRowHeightValue(int row, int twips)
    {
        int &height = at(row).height;
        m_zeroHeightRows += (twips == 0) - (height == 0);
        height = twips;
    }
    // How many rows have a stored height of 0, at once.
    int zeroHeightRows() const { return m_zeroHeightRows; }
    bool rowMerge(int row) const { return at(row).merge; }
    void setRowMerge(int row, bool merge) { at(row).merge = merge; }

    int colWidth(int col) const { return m_colData[size_t(col)].width; }  // -1 default
    void setColWidthValue(int col, int twips) { m_colData[size_t(col)].width = twips; }
    int colAlignment(int col) const { return m_colData[size_t(col)].alignment; }
    void setColAlignment(int col, int code);
    bool colMerge(int col) const { return m_colData[size_t(col)].merge; }
    void setColMerge(int col, bool merge) { m_colData[size_t(col)].merge = merge; }

    // nullptr when the cell has no formatting.
    const GridCellFormat *format(int row, int col) const;
    // Changes the cell's formatting in place; formatting left empty is dropped.
    template<class F>
    void editFormat(int row, int col, F &&change)
    {
        GridCellFormat f = takeFormat(row, col);
        change(f);
        putFormat(row, col, std::move(f));
    }

    bool isDeferred() const { return m_deferred; }
    void setDeferred(bool on);   // off publishes
    int publishedRows() const { return m_published; }

    // Puts rows first .. first+order.size()-1 into the order given: order[i] is the old
    // index of the row that comes to stand at first+i.
    void reorderRows(int first, const std::vector<int> &order);

    // Counts the changes of the rows and their texts (a row added, removed or moved, a
    // text written): work done on the cells elsewhere is stale once it has moved on.
    quint64 changes() const { return m_changes; }

    // Column col's texts of rows first .. last, in their order, appended to text, and
    // where each ends in it to ends: a copy to work on elsewhere, whatever happens to the
    // grid meanwhile.
    void columnTexts(int col, int first, int last, QString &text, std::vector<quint32> &ends) const;

    // Whether a text reads as a number (for general alignment and numeric sorting).
    static bool isNumber(QStringView text, double *value = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

private:
    struct RowData {
        QString text;                 // cell texts, each followed by a separator
        std::vector<quint32> ends;    // end of cell c in text; cells beyond are empty
        int height = -1;
        quint32 id = 0;
        bool merge = false;
        bool hasFormat = false;
    };
    struct ColData {
        int width = -1;
        int alignment = 9;
        bool merge = false;
    };

    // Rows in blocks that stay where they are: appending to a million rows moves none of
    // them, and the window never waits for a copy of them all.
    class RowStore
    {
    public:
        RowStore() = default;
        RowStore(RowStore &&other) noexcept : m_blocks(std::move(other.m_blocks)), m_size(std::exchange(other.m_size, 0)) {}
        RowStore &operator=(RowStore &&other) noexcept
        {
            m_blocks = std::move(other.m_blocks);
            m_size = std::exchange(other.m_size, 0);
            return *this;
        }
        RowData &operator[](quint32 i) { return m_blocks[i >> Shift][i & Mask]; }
        const RowData &operator[](quint32 i) const { return m_blocks[i >> Shift][i & Mask]; }
        quint32 size() const { return m_size; }
        void push_back(RowData row)
        {
            if ((m_size >> Shift) == m_blocks.size())
                m_blocks.push_back(std::make_unique<RowData[]>(BlockRows));
            (*this)[m_size++] = std::move(row);
        }
        template<class F>
        void forEach(F f)
        {
            for (quint32 i = 0; i < m_size; ++i)
                f((*this)[i]);
        }

    private:
        static constexpr int Shift = 8;
        static constexpr quint32 BlockRows = 1u << Shift;
        static constexpr quint32 Mask = BlockRows - 1;
        std::vector<std::unique_ptr<RowData[]>> m_blocks;
        quint32 m_size = 0;
    };

    RowData &at(int row) { return m_store[m_order[size_t(row)]]; }
    const RowData &at(int row) const { return m_store[m_order[size_t(row)]]; }
    // A place in the store for a row, and one given back; the store is packed again
    // once most of it is free.
    quint32 place(RowData row);
    void release(quint32 place);
    void packIfSparse();
    // The rows from `first` on go at once: the rows before are stored anew, and the old
    // store is freed on a worker, as freeing a million rows takes longer than a turn of
    // the event loop may.
    void dropRowsFrom(int first);
    static void freeElsewhere(RowStore store);
    RowData makeRow(const QString &tabJoined);
    void dropFormats(const RowData &row);
    GridCellFormat takeFormat(int row, int col);
    void putFormat(int row, int col, GridCellFormat f);
    static quint64 formatKey(quint32 rowId, int col) { return (quint64(rowId) << 32) | quint32(col); }
    void cellChanged(int row, int col);

    // Rows stay where they were stored; m_order[r] is the place of the row that stands at
    // r, so that reordering rows moves numbers and not the rows.
    RowStore m_store;
    std::vector<quint32> m_order;
    std::vector<quint32> m_orderSpare;   // the order before the last reorder, its memory for the next
    std::vector<quint32> m_free;
    std::vector<ColData> m_colData;
    QHash<quint64, GridCellFormat> m_formats;
    int m_cols = 0;
    int m_published = 0;
    int m_zeroHeightRows = 0;   // rows whose stored height is 0
    quint32 m_nextId = 1;
    quint64 m_changes = 0;
    bool m_deferred = false;
    bool m_changedWhileDeferred = false;
};
