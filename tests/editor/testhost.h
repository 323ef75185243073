#pragma once

#include <QStringList>
#include <QWidget>
#include <functional>

class VarnexEditUni;
namespace dao { class Database; }
class MessageList;

// A window that places the table editor control as the catalog's windows do: it hands
// over its database and texts, names the grid and the user, chooses the mode, defines
// the columns and fills the rows.
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
    // Runs from the window's own close handler, as a host that closes its database there.
    std::function<void()> onClose;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    dao::Database *m_db;
    const MessageList *m_texts;
};
