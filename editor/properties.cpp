// Start-up of an instance and the settings kept with the host window's design.
#include "VarnexEditUni.h"

#include "grid.h"
#include "libroutines.h"

#include <QAction>

namespace {

QFont startFont()
{
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setBold(true);
    font.setPointSize(8);
    font.setItalic(false);
    font.setStrikeOut(false);
    font.setUnderline(false);
    return font;
}

template <typename T>
T stored(const QVariantMap &bag, const char *name, T fallback)
{
    const auto it = bag.constFind(QLatin1String(name));
    return it == bag.constEnd() ? fallback : it->value<T>();
}

}  // namespace

void VarnexEditUni::startUp()
{
    flg->setFont(startFont());
    tabulix::PrelozFormular(this);
}

void VarnexEditUni::ReadProperties(const QVariantMap &bag)
{
    EnableSelect(stored(bag, "EnableSelect", true));
    EnableSort(stored(bag, "EnableSort", true));
    flg->setMergeCells(stored(bag, "MergeCells", 0));
    flg->setWordWrap(stored(bag, "WordWrap", false));
    flg->setFillStyle(stored(bag, "FillStyle", 1));
    flg->setFocusRect(stored(bag, "FocusRect", 1));
    QFont font = flg->Font();
    font.setBold(stored(bag, "FontBold", true));
    font.setItalic(stored(bag, "FontItalic", false));
    font.setFamily(stored(bag, "FontName", QStringLiteral("MS Sans Serif")));
    font.setPointSize(stored(bag, "FontSize", 8));
    font.setStrikeOut(stored(bag, "FontStrikethrough", false));
    font.setUnderline(stored(bag, "FontUnderline", false));
    flg->setFont(font);
}

QVariantMap VarnexEditUni::WriteProperties() const
{
    const QFont font = flg->Font();
    return {
        {QStringLiteral("EnableSelect"), mnuVyber->isEnabled()},
        {QStringLiteral("EnableSort"), mnuSortAsce->isEnabled()},
        {QStringLiteral("MergeCells"), flg->MergeCells()},
        {QStringLiteral("WordWrap"), flg->WordWrap()},
        {QStringLiteral("FillStyle"), flg->FillStyle()},
        {QStringLiteral("FocusRect"), flg->FocusRect()},
        {QStringLiteral("Font"), font},
        {QStringLiteral("FontBold"), font.bold()},
        {QStringLiteral("FontItalic"), font.italic()},
        {QStringLiteral("FontName"), font.family()},
        {QStringLiteral("FontSize"), font.pointSize()},
        {QStringLiteral("FontStrikethrough"), font.strikeOut()},
        {QStringLiteral("FontUnderline"), font.underline()},
    };
}
