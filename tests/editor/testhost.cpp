#include "testhost.h"

#include "VarnexEditUni.h"

#include "grid.h"
#include "gridmodel.h"
#include "system.h"
#include "variant.h"

#include <QApplication>
#include <QAction>
#include <QCloseEvent>
#include <QDialog>
#include <QMenu>
#include <QPointer>
#include <QTimer>
#include <QSignalBlocker>
#include <QTableView>
#include <QTest>

TestHost::TestHost(dao::Database *db, const MessageList *texts, QWidget *parent)
    : QWidget(parent), m_db(db), m_texts(texts)
{
    setObjectName(QStringLiteral("frmTest"));
    resize(640, 400);
    VEdit = new VarnexEditUni(this);
    VEdit->setObjectName(QStringLiteral("VEdit"));
    VEdit->setGeometry(0, 0, 640, 400);
}

void TestHost::defineColumns(quint8 mode, const QString &gridName, const QString &user)
{
    VEdit->SetData(m_db);
    if (m_texts)
        VEdit->SetLang(m_texts);
    if (!gridName.isEmpty())
        VEdit->GridName(gridName);
    VEdit->UserName(user);
    VEdit->Edited(mode);
    VEdit->Init(6, 0);
    VEdit->SetCol(0, QStringLiteral("Inter"), 0, QStringLiteral("S"), QStringLiteral("Inter"), QStringLiteral("N"), 10);
    VEdit->SetCol(1, QStringLiteral("Název"), 2000, QStringLiteral("L"), QStringLiteral("Katalog.Pol1c"),
                  QStringLiteral("C"), 50, QString(), nameCodeList, true, nameUpdates);
    VEdit->SetCol(2, QStringLiteral("Cena"), 1200, QStringLiteral("R"), QStringLiteral("Katalog.Pol1n"),
                  QStringLiteral("N"), 12, priceFormat);
    VEdit->SetCol(3, QStringLiteral("Datum"), 1200, QStringLiteral("C"), QStringLiteral("Katalog.Pol1d"),
                  QStringLiteral("D"), 10);
    VEdit->SetCol(4, QStringLiteral("Aktivní"), 800, QStringLiteral("C"), QStringLiteral("Aktivni"),
                  QStringLiteral("z"), 1);
    VEdit->SetCol(5, QStringLiteral("Stav"), 0, QStringLiteral("S"), QStringLiteral("Update"), QStringLiteral("C"), 1);
}

void TestHost::fill(const QStringList &rows, int total)
{
    VEdit->Redraw(false);
    VEdit->Clear();
    for (const QString &row : rows)
        VEdit->AddData(row);
    VEdit->RecordSetRows(total);
    VEdit->Redraw(true);
}

void TestHost::closeEvent(QCloseEvent *event)
{
    if (onClose)
        onClose();
    QWidget::closeEvent(event);
}

bool TestHost::showActive()
{
    show();
    activateWindow();
    return QTest::qWaitForWindowActive(this);
}

namespace {

QString text(const Variant &v)
{
    return v.IsEmpty() ? QString() : v.toString();
}

}  // namespace

EventLog::EventLog(VarnexEditUni *e)
{
    const auto plain = [this, e](auto signal, const char *name) {
        connect(e, signal, this, [this, name] { entries << QLatin1String(name); });
    };
    plain(&VarnexEditUni::RowColChange, "RowColChange");
    plain(&VarnexEditUni::RowChange, "RowChange");
    plain(&VarnexEditUni::ColChange, "ColChange");
    plain(&VarnexEditUni::Konec, "Konec");
    plain(&VarnexEditUni::Vyber, "Vyber");
    plain(&VarnexEditUni::Click, "Click");
    plain(&VarnexEditUni::DblClick, "DblClick");
    connect(e, &VarnexEditUni::Smazano, this, [this, e] { entries << QStringLiteral("Smazano %1").arg(e->Row()); });
    connect(e, &VarnexEditUni::BeforeEdit, this,
            [this](Variant &old, bool &) { entries << QStringLiteral("BeforeEdit ") + text(old); });
    connect(e, &VarnexEditUni::BeforeChange, this, [this](Variant &old, Variant &now, bool &) {
        entries << QStringLiteral("BeforeChange ") + text(old) + QLatin1Char('|') + text(now);
    });
    connect(e, &VarnexEditUni::Change, this, [this](Variant &old, Variant &now) {
        entries << QStringLiteral("Change ") + text(old) + QLatin1Char('|') + text(now);
    });
    connect(e, &VarnexEditUni::UpdateFlg, this,
            [this](QString &typed) { entries << QStringLiteral("UpdateFlg ") + typed; });
    connect(e, &VarnexEditUni::CiselData, this,
            [this](QString &value) { entries << QStringLiteral("CiselData ") + value; });
    connect(e, &VarnexEditUni::TxtDblClick, this,
            [this](QString &value) { entries << QStringLiteral("TxtDblClick ") + value; });
    connect(e, &VarnexEditUni::AddRow, this, [this](QString &) { entries << QStringLiteral("AddRow"); });
    connect(e, &VarnexEditUni::Smazat, this, [this](bool &) { entries << QStringLiteral("Smazat"); });
}

QStringList EventLog::names() const
{
    QStringList list;
    for (const QString &entry : entries)
        list << entry.section(QLatin1Char(' '), 0, 0);
    return list;
}

void typeKeys(const QString &text)
{
    // One key a character, as the keyboard gives them: a character outside the Basic
    // Multilingual Plane comes as one key carrying both halves of its surrogate pair.
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype length = text.at(i).isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        QWidget *target = QApplication::focusWidget();
        if (!target)
            return;
        if (text.at(i).unicode() < 0x80)
            QTest::keyClick(target, text.at(i).toLatin1());
        else
            typeKey(text.mid(i, length));
        i += length;
    }
}

void typeKey(const QString &text, QWidget *target)
{
    if (!target)
        target = QApplication::focusWidget();
    if (!target)
        return;
    QTest::sendKeyEvent(QTest::Press, target, Qt::Key_unknown, text, Qt::NoModifier);
    if (QWidget *now = QApplication::focusWidget())
        QTest::sendKeyEvent(QTest::Release, now, Qt::Key_unknown, text, Qt::NoModifier);
}

void pressKey(Qt::Key key, Qt::KeyboardModifiers modifiers)
{
    if (QWidget *target = QApplication::focusWidget())
        QTest::keyClick(target, key, modifiers);
}

QPoint cellCentre(FlexGrid *grid, int row, int col)
{
    return grid->view()->visualRect(grid->model()->index(row, col)).center();
}

bool hasMark(FlexGrid *g, int r, int c)
{
    QSignalBlocker block(g);
    const int row = g->Row(), col = g->Col();
    g->setRow(r);
    g->setCol(c);
    const bool mark = !g->CellPicture().isNull();
    g->setRow(row);
    g->setCol(col);
    return mark;
}

namespace {

// The widget that shows the cell, and the cell's centre in it.
std::pair<QWidget *, QPoint> cellTarget(FlexGrid *g, int row, int col)
{
    QPoint centre;
    {
        QSignalBlocker block(g);
        const int saveRow = g->Row(), saveCol = g->Col();
        g->setRow(row);
        g->setCol(col);
        centre = QPoint(sys::toPixels(g->CellLeft() + g->CellWidth() / 2), sys::toPixels(g->CellTop() + g->CellHeight() / 2));
        g->setRow(saveRow);
        g->setCol(saveCol);
    }
    QTableView *v = g->view();
    const QPoint inView = centre + v->contentsRect().topLeft();
    QWidget *target = v->childAt(inView);
    if (!target)
        target = v;
    return {target, target->mapFrom(v, inView)};
}

}  // namespace

void clickCell(FlexGrid *g, int row, int col, Qt::MouseButton button)
{
    const auto [target, at] = cellTarget(g, row, col);
    QTest::mouseClick(target, button, Qt::NoModifier, at);
}

void clickCellQueued(FlexGrid *g, int row, int col, Qt::MouseButton button)
{
    const auto [target, at] = cellTarget(g, row, col);
    // The release waits behind the press as the window system's next event: delivered by
    // the first event loop that runs, the press's own handlers' included.
    QPointer<QWidget> alive(target);
    bool released = false;
    QTimer release;
    release.setSingleShot(true);
    release.setInterval(0);
    QObject::connect(&release, &QTimer::timeout, [&, target = target, at = at] {
        released = true;
        if (alive)
            QTest::mouseRelease(target, button, Qt::NoModifier, at);
    });
    release.start();
    QTest::mousePress(target, button, Qt::NoModifier, at);
    QTRY_VERIFY(released);
}

void dragHeaderBorder(FlexGrid *g, int col, int dx)
{
    QRect cell;
    {
        QSignalBlocker block(g);
        const int saveRow = g->Row(), saveCol = g->Col();
        g->setRow(0);
        g->setCol(col);
        cell = QRect(sys::toPixels(g->CellLeft()), sys::toPixels(g->CellTop()), sys::toPixels(g->CellWidth()),
                     sys::toPixels(g->CellHeight()));
        g->setRow(saveRow);
        g->setCol(saveCol);
    }
    QTableView *v = g->view();
    const QPoint border = QPoint(cell.left() + cell.width() - 1, cell.center().y()) + v->contentsRect().topLeft();
    QWidget *target = v->childAt(border);
    if (!target)
        target = v;
    const QPoint from = target->mapFrom(v, border);
    QTest::mouseMove(target, from);
    QTest::mousePress(target, Qt::LeftButton, Qt::NoModifier, from);
    const int steps = 4;
    for (int i = 1; i <= steps; ++i)
        QTest::mouseMove(target, from + QPoint(dx * i / steps, 0));
    QTest::mouseRelease(target, Qt::LeftButton, Qt::NoModifier, from + QPoint(dx, 0));
}

QStringList keysInOrder(FlexGrid *g)
{
    QStringList keys;
    for (int r = g->FixedRows(); r < g->Rows(); ++r)
        keys << g->TextMatrix(r, 0);
    return keys;
}

namespace {

// Polls for a widget for up to three seconds; acts on it when it shows, and closes
// whatever is still open after that, so that a missing widget fails instead of hanging.
template<class W>
void whenOpen(std::function<W *()> find, std::function<void(W *)> act, int tries = 300)
{
    QTimer::singleShot(10, [find = std::move(find), act = std::move(act), tries]() mutable {
        if (W *w = find(); w && w->isVisible()) {
            act(w);
            return;
        }
        if (tries > 0) {
            whenOpen<W>(std::move(find), std::move(act), tries - 1);
            return;
        }
        qWarning("the expected window never opened");
        if (QWidget *popup = QApplication::activePopupWidget())
            popup->close();
        if (auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget()))
            dialog->reject();
    });
}

}  // namespace

void whenPopupOpens(std::function<void(QMenu *)> act)
{
    whenOpen<QMenu>([] { return qobject_cast<QMenu *>(QApplication::activePopupWidget()); }, std::move(act));
}

void whenDialogOpens(std::function<void(QDialog *)> act)
{
    whenOpen<QDialog>([] { return qobject_cast<QDialog *>(QApplication::activeModalWidget()); },
                      [act = std::move(act)](QDialog *dialog) {
                          // The offscreen platform may yet hand the activation back to the
                          // window under a menu that has just closed, and keys then go
                          // nowhere; the user has the dialog in front of them.
                          const QPointer<QDialog> open(dialog);
                          if (!dialog->isActiveWindow())
                              dialog->activateWindow();
                          if (!QTest::qWaitFor([&open] { return !open || open->isActiveWindow(); }, 2000))
                              qWarning("the dialog never became the active window");
                          if (open)
                              act(open);
                      });
}

void clickMenuItem(QMenu *menu, const QString &name)
{
    QAction *item = nullptr;
    for (QAction *a : menu->actions())
        if (a->objectName() == name && a->isVisible())
            item = a;
    for (QAction *a : menu->actions())
        if (!item && a->text() == name && a->isVisible())
            item = a;
    if (!item || !item->isEnabled()) {
        qWarning("no menu item %s to choose", qPrintable(name));
        menu->close();
        return;
    }
    QTest::mouseClick(menu, Qt::LeftButton, Qt::NoModifier, menu->actionGeometry(item).center());
}

QString joinRow(const QStringList &cells)
{
    return cells.join(QLatin1Char('\t'));
}
