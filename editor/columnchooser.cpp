// The function popup's column chooser, on the control's side: what it hands the window
// and how a saved layout comes back into the grid.
#include "VarnexEditUni.h"

#include "frmShowHide.h"
#include "grid.h"
#include "layoutstore.h"

void VarnexEditUni::mnuSHcol_Click()
{
    // The widths the user sees now; a system column counts as hidden.
    for (int i = 0; i < flg->Cols() && i <= m_PoleZmen.UBound(); ++i) {
        const bool system = i <= m_PoleDefault.UBound() && m_PoleDefault(LayAlign, i).IsString()
                            && m_PoleDefault(LayAlign, i).stringValue() == QLatin1String("S");
        m_PoleZmen(LayWidth, i) = system ? 0 : flg->ColWidth(i);
    }
    tabulix::frmShowHide window(this);
    window.SetData(database());
    window.SetUserControl(this);
    window.UserName = m_UserName;
    window.GridName = layoutGridName();
    window.PoleDefault = m_PoleDefault;
    window.PoleZmen = m_PoleZmen;
    window.Form_Load();
    window.exec();
    if (window.Zmena())
        applyChosenLayout();
}

void VarnexEditUni::applyChosenLayout()
{
    dao::Database *db = database();
    if (!db)
        return;
    // Each stored row goes to the column of its name, wherever that column stands now;
    // a row of a column the grid no longer has changes nothing.
    for (const layoutstore::Row &row : layoutstore::readAll(*db, layoutGridName(), m_UserName)) {
        int column = -1;
        for (int c = 0; c < flg->Cols() && c <= m_Atributy.UBound() && column < 0; ++c)
            if (m_Atributy(AttrData, c).IsString() && m_Atributy(AttrData, c).stringValue() == row.column)
                column = c;
        if (column < 0)
            continue;
        if (const QString caption = row.caption.trimmed(); !caption.isEmpty())
            flg->setTextMatrix(0, column, caption);
        const QString align = row.align.value_or(QString());
        if (align != QLatin1String("N") && align != QLatin1String("S"))
            flg->setColAlignment(column, align == QLatin1String("C") ? 4 : align == QLatin1String("R") ? 7 : 1);
        bool number = false;
        const int width = row.width.toInt(&number);
        if (align == QLatin1String("S"))
            flg->setColWidth(column, 0);
        else if (number)
            flg->setColWidth(column, width);
    }
    Q_EMIT ChangeHeader();
}
