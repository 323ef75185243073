#pragma once

#include <QPoint>
#include <QStringList>
#include <QWidget>
#include <functional>

class VarnexEditUni;
namespace dao { class Database; }
class MessageList;
class FlexGrid;
class QDialog;
class QMenu;

// A window that places the table editor control as the catalog's windows do: it hands
// over its database and texts, names the grid and the user, chooses the mode, defines
// the columns and fills the rows.
// Whether the cell shows a picture (a check mark); the grid's current cell is left as it was.
bool hasMark(FlexGrid *g, int r, int c);

class TestHost : public QWidget
{
    Q_OBJECT
public:
    explicit TestHost(dao::Database *db = nullptr, const MessageList *texts = nullptr, QWidget *parent = nullptr);

    // The overview's kind of columns: 0 the key (hidden, "S"), 1 a name, 2 a price,
    // 3 a date, 4 a check mark (type Z), 5 the row state ("S").
    void defineColumns(quint8 mode, const QString &gridName = QString(), const QString &user = QStringLiteral("PC1"));
    // Redraw off, Clear, AddData per row, the source's total, Redraw on.
    void fill(const QStringList &rows, int total);

    VarnexEditUni *VEdit = nullptr;
    // Column variations for defineColumns: the price's format, the name's update flag
    // and a code list on the name.
    QString priceFormat;
    bool nameUpdates = true;
    bool nameCodeList = false;
    // Runs from the window's own close handler, as a host that closes its database there.
    std::function<void()> onClose;

    // Shows the window and waits until it is active, so that the control's editors can
    // take the focus and keys reach the focus widget.
    bool showActive();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    dao::Database *m_db;
    const MessageList *m_texts;
};

// Every event of the control in the order raised, with its arguments: "BeforeChange 1|1,5".
class EventLog : public QObject
{
    Q_OBJECT
public:
    explicit EventLog(VarnexEditUni *control);
    QStringList entries;
    // Raised events without their arguments.
    QStringList names() const;
    void clear() { entries.clear(); }
};

// Types into whichever widget has the focus, one key a character, as the user does.
void typeKeys(const QString &text);
// One key whose event carries the whole text, as an input method, a compose sequence or
// a paste through keys sends several characters at once; to the focus widget when no
// target is given.
void typeKey(const QString &text, QWidget *target = nullptr);
void pressKey(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);

// The centre of a cell in the grid's view, where mouse events for it go.
QPoint cellCentre(FlexGrid *grid, int row, int col);
// A mouse click on a cell, header cells included, on the widget that shows it.
void clickCell(FlexGrid *grid, int row, int col, Qt::MouseButton button = Qt::LeftButton);
// Drags the right border of a column's header cell by `dx` pixels with the left button
// held: a press on the border, moves, a release, as the user sizes a column.
void dragHeaderBorder(FlexGrid *grid, int col, int dx);
// The same click as the window system hands over a quick one: press and release wait in
// the queue together, so a handler of the press that lets events run meets the release
// inside the press. Returns once both have been delivered.
void clickCellQueued(FlexGrid *grid, int row, int col, Qt::MouseButton button = Qt::LeftButton);
// Runs `act` on the popup menu that the next user action opens, once it is up, then
// lets it go on. A menu that never opens fails the test; one still open after a few
// seconds is closed, so that a test never hangs in it.
void whenPopupOpens(std::function<void(QMenu *)> act);
// The same for the next modal dialog.
void whenDialogOpens(std::function<void(QDialog *)> act);
// Clicks the item of an open popup menu named `name` (its objectName), or the item
// with that text when no item has that name.
void clickMenuItem(QMenu *menu, const QString &name);

// A grid row string from its cells.
QString joinRow(const QStringList &cells);

// The key column's texts of the data rows, top to bottom.
QStringList keysInOrder(FlexGrid *grid);
