// The per-user column layouts kept in the host's table S_Grid: read when a column is
// defined, widths written back when the control ends.
#include "VarnexEditUni.h"

#include "dao.h"
#include "grid.h"
#include "layoutstore.h"
#include "vberror.h"

#include <QComboBox>
#include <QEvent>
#include <QLineEdit>
#include <QMdiSubWindow>

namespace {

QString text(const Variant &v)
{
    return v.IsString() ? v.stringValue() : QString();
}

}  // namespace

void VarnexEditUni::SetData(dao::Database *db)
{
    m_db = db;
    m_dbLife = db ? db->Lifetime() : std::weak_ptr<const void>();
}

dao::Database *VarnexEditUni::database() const
{
    if (!m_db || m_dbLife.expired() || !m_db->IsOpen())
        return nullptr;
    return m_db;
}

QWidget *VarnexEditUni::hostWindow() const
{
    // The form the control sits on: inside an MDI child that is the widget the child
    // window holds, not the main window around it.
    for (QWidget *w = parentWidget(); w; w = w->parentWidget())
        if (w->isWindow() || qobject_cast<const QMdiSubWindow *>(w->parentWidget()))
            return w;
    return nullptr;
}

void VarnexEditUni::settleGridName()
{
    if (objectName() == QLatin1String(ChooserInstanceName))
        return;
    if (!m_GridName.isEmpty()) {
        m_GridNameWork = m_GridName;
        return;
    }
    const QWidget *host = hostWindow();
    m_GridNameWork = (host ? host->objectName() : QString()) + QLatin1Char('_') + objectName();
}

QString VarnexEditUni::layoutGridName()
{
    // Until the first resize event the names of the control and its host may still change.
    if (m_GridNameWork.isEmpty() || testAttribute(Qt::WA_PendingResizeEvent))
        settleGridName();
    return m_GridNameWork;
}

void VarnexEditUni::readLayout(int column)
{
    dao::Database *db = database();
    if (!db)
        return;
    std::optional<layoutstore::Layout> stored;
    try {
        // Stored layouts apply by the column's data field, whatever position it now has.
        stored = layoutstore::read(*db, layoutGridName(), m_UserName, text(m_Atributy(AttrData, column)));
    } catch (const VbError &) {
        return;  // no S_Grid to read (a host database without it): the host's layout stands
    }
    if (!stored)
        return;
    if (!stored->caption.isEmpty())
        flg->setTextMatrix(0, column, stored->caption);
    if (const auto &align = stored->align; align && *align != QLatin1String("N") && *align != QLatin1String("S")) {
        int code = flex::AlignLeftCenter;
        if (*align == QLatin1String("C"))
            code = flex::AlignCenterCenter;
        else if (*align == QLatin1String("R"))
            code = flex::AlignRightCenter;
        flg->setColAlignment(column, code);
    }
    if (stored->width)
        flg->setColWidth(column, *stored->width);
}

void VarnexEditUni::writeLayout()
{
    // A layout belongs to browse grids; the host's database must still be open. Nothing
    // here may leave the control's end with an error.
    dao::Database *db = database();
    if (m_Edited != 2 || objectName() == QLatin1String(ChooserInstanceName) || !db)
        return;
    try {
        const QString g = layoutGridName();
        const int cols = std::min(flg->Cols(), m_Atributy.UBound() + 1);
        for (int i = 0; i < cols; ++i)
            layoutstore::writeWidth(*db, g, m_UserName, text(m_Atributy(AttrData, i)), i, m_Atributy(AttrAlign, i),
                                    flg->ColWidth(i));
    } catch (const VbError &) {
        // The host's database refused the write (read-only, locked); the control ends
        // all the same, and the next end tries again.
    }
}

void VarnexEditUni::watchHostWindow()
{
    QWidget *host = hostWindow();
    if (!host || host == m_hostWindow)
        return;
    if (m_hostWindow)
        m_hostWindow->removeEventFilter(this);
    m_hostWindow = host;
    host->installEventFilter(this);
}

bool VarnexEditUni::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == txtEdit || watched == cmbEdit || (cmbEdit && watched == cmbEdit->lineEdit()))
        return editorEvent(watched == txtEdit ? watched : cmbEdit, event) || QWidget::eventFilter(watched, event);
    if (watched == m_hostWindow) {
        // The host window is closing: its own close handler may close or even destroy
        // the database next, so the widths are written now, while it is surely there,
        // and the control's end leaves the database alone unless the window comes back.
        if (event->type() == QEvent::Close) {
            writeLayout();
            m_writtenAtClose = true;
        } else if (event->type() == QEvent::Show) {
            m_writtenAtClose = false;
        }
    }
    return QWidget::eventFilter(watched, event);
}
