// Filling the overview's grid from its records.
#include "overview/frmPrehled.h"

#include "VarnexEditUni.h"
#include "dao.h"
#include "data/infosettings.h"
#include "common/globals.h"
#include "common/mainframe.h"
#include "common/translation.h"
#include "variant.h"
#include "waitcursor.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QPointer>
#include <QTimer>

namespace {

// How long the window may go without answering while rows load.
constexpr qint64 kYieldMs = 30;

}  // namespace

std::optional<qint32> frmPrehled::LimitZaznamu()
{
    if (NactiInfo(QStringLiteral("chkAllRecords"), QStringLiteral("true")).toLower() != QLatin1String("true"))
        return std::nullopt;
    const double limit = vbVal(NactiInfo(QStringLiteral("txtAllRecords"), QStringLiteral("1000")));
    if (!(limit > 0))
        return 0;  // no count at all (0, negative): the overview still loads one record
    try {
        return Variant(limit).toLong();
    } catch (const VbError &) {
        // More than the overview can count is more than any section holds: no limit.
        return std::nullopt;
    }
}

void frmPrehled::ReadFlg()
{
    readRows();
}

bool frmPrehled::readRows()
{
    const QPointer<frmPrehled> self(this);
    const quint64 load = ++m_load;
    // After a yield: the window may have closed, or a newer load may have begun.
    const auto goOn = [&] { return self && m_load == load && Zaznamy; };
    const WaitCursor wait;
    if (!Zaznamy)
        return true;
    struct Reading {
        QPointer<frmPrehled> window;
        explicit Reading(frmPrehled *w) : window(w) { ++w->m_reading; }
        ~Reading()
        {
            if (window)
                --window->m_reading;
        }
    } reading(this);

    dao::Recordset *records = Zaznamy.get();
    showDescription(records->Eof() || SloupecPopisu < 0 || SloupecPopisu >= records->FieldCount()
                        ? QString()
                        : TextBunky((*records)[SloupecPopisu]));
    QCoreApplication::processEvents();
    if (!goOn())
        return false;
    records = Zaznamy.get();

    // The whole query's count, so that the counter reads "1000 of 5000".
    VEdit->RecordSetRows(m_celkem >= 0 ? m_celkem : records->QueryRowCount());
    m_celkem = -1;
    VEdit->Redraw(false);
    VEdit->Clear();
    ZpravaStavu(PrelozText(QStringLiteral("234,Probíhá načtení dat do přehledu...")));
    // However the reading ends, the status text goes and the grid draws again.
    struct Restore {
        QPointer<frmPrehled> window;
        ~Restore()
        {
            ZpravaStavu(QString());
            if (window)
                window->VEdit->Redraw(true);
        }
    } restore{self};

    const std::optional<qint32> limit = LimitZaznamu();

    const int fields = Prehled().PocetSloupcu();  // Inter and the shown columns
    QElapsedTimer sinceYield;
    sinceYield.start();
    QString row;
    while (!records->Eof()) {
        row.clear();
        for (int i = 0; i < fields && i < records->FieldCount(); ++i) {
            row += TextBunky((*records)[i]);
            row += QLatin1Char('\t');
        }
        row += QLatin1Char('X');
        VEdit->AddData(row);
        if (VEdit->AddError())
            break;
        if (limit && VEdit->Rows() > *limit) {
            // The query reads no further than the limit: reading it to its end ends the
            // read, which would otherwise hold the catalog's read lock for as long as the
            // overview shows, and no other workstation could save.
            records->MoveLast();
            break;
        }
        records->MoveNext();
        if (sinceYield.elapsed() >= kYieldMs) {
            QCoreApplication::processEvents();
            if (!goOn())
                return false;
            records = Zaznamy.get();
            sinceYield.restart();
        }
    }

    ZpravaStavu(QString());
    VEdit->FirstCol(1);
    VEdit->Redraw(true);
    restore.window = nullptr;
    UkazPopis();
    QCoreApplication::processEvents();
    if (!goOn())
        return false;
    // The preview follows once the rows have settled.
    tmr->start();
    return true;
}
