// Column definitions: the attribute table, the pass-through column members and code lists.
#include "VarnexEditUni.h"
#include "vberror.h"

#include "grid.h"

namespace {

QString letter(const Variant &v)
{
    return v.IsString() ? v.stringValue() : QString();
}

}  // namespace

Variant VarnexEditUni::SetCol(const qint32 &pIndex, const QString &pCaption, const qint16 &pWidth,
                              const QString &pAlign, const QString &pData, const QString &pDataType,
                              const qint16 &pMaxLen, const QString &pFormat, const bool &pCisel, const bool &VEdit,
                              const Variant &pUpdateFlg)
{
    m_Atributy.Resize(pIndex);
    m_Atributy(AttrData, pIndex) = pData;
    m_Atributy(AttrType, pIndex) = pDataType.toUpper();
    m_Atributy(AttrMaxLen, pIndex) = pMaxLen;
    m_Atributy(AttrCisel, pIndex) = pCisel;
    m_Atributy(AttrFormat, pIndex) = pFormat;
    m_Atributy(AttrEditable, pIndex) = VEdit;
    m_Atributy(AttrUpdateFlg, pIndex) = pUpdateFlg;

    const QString align = pAlign.toUpper();
    if (align == QLatin1String("L") || align == QLatin1String("S")) {
        m_Atributy(AttrAlign, pIndex) = align;
        flg->setColAlignment(pIndex, flex::AlignLeftCenter);
    } else if (align == QLatin1String("C")) {
        m_Atributy(AttrAlign, pIndex) = align;
        flg->setColAlignment(pIndex, flex::AlignCenterCenter);
    } else if (align == QLatin1String("R")) {
        m_Atributy(AttrAlign, pIndex) = align;
        flg->setColAlignment(pIndex, flex::AlignRightCenter);
    }
    const bool check = m_Atributy(AttrType, pIndex).stringValue() == QLatin1String("Z");
    if (check) {
        m_Atributy(AttrAlign, pIndex) = QStringLiteral("L");
        flg->setColAlignment(pIndex, flex::AlignLeftBottom);
    }
    flg->setColWidth(pIndex, pWidth);
    flg->setTextMatrix(0, pIndex, pCaption);

    // The columns AddData marks, kept apart so that a row does not read every attribute.
    m_checkColumns.clear();
    for (int i = 0; i <= m_Atributy.UBound(); ++i)
        if (letter(m_Atributy(AttrType, i)) == QLatin1String("Z"))
            m_checkColumns.push_back(i);

    // From here on nothing reaches the host: a missing database, table or row only
    // leaves the host's definition in place.
    if (m_Edited != 2 || objectName() == QLatin1String(ChooserInstanceName))
        return {};
    try {
        m_PoleDefault.Resize(pIndex);
        m_PoleDefault(LayData, pIndex) = pData;
        m_PoleDefault(LayWidth, pIndex) = pWidth;
        m_PoleDefault(LayCaption, pIndex) = pCaption;
        m_PoleDefault(LayAlign, pIndex) = m_Atributy(AttrAlign, pIndex);
    } catch (const VbError &) {
        // a column beyond the attributes: there is no default to keep for it
    }
    readLayout(pIndex);
    try {
        if (check) {
            m_Atributy(AttrAlign, pIndex) = QStringLiteral("L");
            flg->setColAlignment(pIndex, flex::AlignLeftBottom);
        }
        QString shown = letter(m_Atributy(AttrAlign, pIndex));
        if (shown != QLatin1String("N") && shown != QLatin1String("S") && !check) {
            switch (flg->ColAlignment(pIndex)) {
            case flex::AlignCenterCenter: shown = QStringLiteral("C"); break;
            case flex::AlignRightCenter: shown = QStringLiteral("R"); break;
            default: shown = QStringLiteral("L"); break;
            }
        }
        m_PoleZmen.Resize(pIndex);
        m_PoleZmen(LayData, pIndex) = pData;
        m_PoleZmen(LayWidth, pIndex) = flg->ColWidth(pIndex);
        m_PoleZmen(LayCaption, pIndex) = flg->TextMatrix(0, pIndex);
        m_PoleZmen(LayAlign, pIndex) = shown;
    } catch (const VbError &) {
        // a column beyond the grid or its attributes: nothing shown to keep
    }
    return {};
}

Variant VarnexEditUni::GetCol(const qint32 &pData, const qint32 &pIndex) const
{
    return m_Atributy(pData, pIndex);
}

qint16 VarnexEditUni::ColAlign(const qint32 &pIndex) const { return qint16(flg->ColAlignment(pIndex)); }
void VarnexEditUni::ColAlign(const qint32 &pIndex, const qint16 &value) { flg->setColAlignment(pIndex, value); }
qint32 VarnexEditUni::ColWidth(const qint32 &pIndex) const { return flg->ColWidth(pIndex); }
void VarnexEditUni::ColWidth(const qint32 &pIndex, const qint32 &value) { flg->setColWidth(pIndex, value); }
qint32 VarnexEditUni::Cols() const { return flg->Cols(); }

void VarnexEditUni::Cols(const qint32 &value)
{
    ++m_fillGeneration;
    dropSorts();
    flg->setCols(value);
    m_codeLists.ResetItems(value);
}

bool VarnexEditUni::ColEditable(const qint32 &pIndex) const
{
    return m_Atributy(AttrEditable, pIndex).toBool();
}

void VarnexEditUni::ColEditable(const qint32 &pIndex, const bool &value)
{
    m_Atributy(AttrEditable, pIndex) = value;
    if (m_Edited != 1)
        return;
    const int c = flg->Col();
    const bool editable = c >= 0 && c <= m_Atributy.UBound() && !m_Atributy(AttrEditable, c).IsEmpty()
                          && m_Atributy(AttrEditable, c).toBool();
    flg->setFocusRect(editable ? flex::FocusHeavy : flex::FocusNone);
}

Variant VarnexEditUni::Ciselnik(const qint32 &pIndex, const QString &pSql, const qint16 &pMaxLen)
{
    m_codeLists.Ciselnik(pIndex, pSql, pMaxLen);
    return {};
}

Variant VarnexEditUni::CiselnikNapln(const qint32 &pIndex, const QString &pValue, const QString &pData)
{
    m_codeLists.CiselnikNapln(pIndex, pValue, pData);
    return {};
}
