// Filling the overview's grid from its records.
#include "overview/frmPrehled.h"

#include "VarnexEditUni.h"
#include "dao.h"
#include "data/infosettings.h"
#include "common/globals.h"
#include "common/mainframe.h"
#include "common/translation.h"
#include "variant.h"
#include "common/errorreport.h"
#include "data/overviewreader.h"
#include "waitcursor.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QPointer>
#include <QTimer>

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
    readRows(Prehled().Dotaz(), false);
}

bool frmPrehled::Nacita() const
{
    return m_reader->reading();
}

frmPrehled::Vyber frmPrehled::readRows(const DotazPrehledu &query, bool keepIfEmpty, bool *superseded,
                                      const std::function<void()> &prepare)
{
    const QPointer<frmPrehled> self(this);
    const quint64 load = ++m_load;
    if (superseded)
        *superseded = false;
    OverviewReader::Request request;
    request.soubor = Db->Name();
    request.dotaz = query;
    // The reader waits for another workstation as long as the program's own connection.
    request.busyMs = int(Db->OpenRecordset(QStringLiteral("pragma busy_timeout"), dao::dbOpenForwardOnly)->Fields(0).Value().toLong());
    m_answered = false;
    m_keepIfEmpty = keepIfEmpty;
    m_nothing = false;
    m_rowsEnded = false;
    m_failure.reset();
    m_loaded = 0;
    m_celkem = -1;
    m_changed.clear();
    m_dotaz = query;
    ZpravaStavu(PrelozText(QStringLiteral("234,Probíhá načtení dat do přehledu...")));
    m_reader->start(request);
    if (prepare) {
        m_reader->hold(true);
        try {
            prepare();
        } catch (...) {
            m_reader->cancel();
            m_reader->hold(false);
            ZpravaStavu(QString());
            throw;
        }
        m_reader->hold(false);
    }
    {
        // Until the first answer the rows stay as they were; the window answers meanwhile.
        const WaitCursor wait;
        while (self && m_load == load && !m_answered)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    if (!self || m_load != load) {
        if (superseded)
            *superseded = true;
        return Vyber::Nacteno;
    }
    if (m_failure) {
        const VbError failure = *m_failure;
        m_failure.reset();
        throw failure;
    }
    return m_nothing ? Vyber::Nic : Vyber::Nacteno;
}

void frmPrehled::beginRows()
{
    m_answered = true;
    ++m_reading;
    VEdit->Redraw(false);
    VEdit->Clear();
    --m_reading;
}

void frmPrehled::rowsRead(const QStringList &rows, const QList<qint32> &keys)
{
    const bool first = !m_answered;
    if (first)
        beginRows();
    else
        VEdit->Redraw(false);  // a batch is placed in the grid at once, not row by row
    ++m_reading;
    for (qsizetype i = 0; i < rows.size(); ++i) {
        QString row = rows[i];
        if (const auto changed = m_changed.find(keys[i]); changed != m_changed.end()) {
            // Read before the change: the record shows once, as it is now, or not at all.
            if (changed->shown || changed->deleted)
                continue;
            row = changed->texty.join(QLatin1Char('\t')) + QStringLiteral("\tX");
            changed->shown = true;
        }
        VEdit->AddData(row);
        if (VEdit->AddError())
            break;
        ++m_loaded;
    }
    --m_reading;
    // The rows show as they come, and the user scrolls through them meanwhile.
    VEdit->Redraw(true);
    if (first) {
        // The first screen shows at once; the strip tells of the row under the cursor.
        VEdit->repaint();
        UkazPopis();
    }
    VEdit->SetRecords(VarnexEditUni::CounterText(m_loaded, m_celkem));
}

void frmPrehled::rowsCounted(int total)
{
    if (m_nothing)
        return;  // the rows shown are the previous load's
    m_celkem = total;
    VEdit->SetRecords(VarnexEditUni::CounterText(m_loaded, m_celkem));
    if (m_rowsEnded)
        VEdit->RecordSetRows(m_celkem);
}

void frmPrehled::rowsEnded()
{
    m_rowsEnded = true;
    if (!m_answered) {
        if (m_keepIfEmpty) {
            // A selection that finds nothing leaves the rows as they were.
            m_answered = true;
            m_nothing = true;
            ZpravaStavu(QString());
            return;
        }
        beginRows();
    }
    endRows();
}

void frmPrehled::rowsFinished()
{
    Q_EMIT nacteno();
}

void frmPrehled::readFailed(const VbError &error)
{
    if (!m_answered) {
        // The waiting load raises it; the rows stay as they were.
        m_answered = true;
        m_failure = error;
        ZpravaStavu(QString());
        Q_EMIT nacteno();
        return;
    }
    // Failed on the way (the catalog locked by another workstation for longer than the
    // wait): the rows read so far stay, and the user is told.
    if (!m_rowsEnded)
        endRows();
    Q_EMIT nacteno();
    if (!m_nothing)
        ZobrazChybu(error, windowTitle());
}

void frmPrehled::endRows()
{
    ZpravaStavu(QString());
    // The whole query's count, so that the counter reads "1000 of 5000".
    // A record saved meanwhile whose row was never read (its order value moved behind
    // the read) still belongs to the overview when it meets the query and the limit has
    // room for it.
    for (auto it = m_changed.cbegin(); it != m_changed.cend(); ++it) {
        if (it->shown || it->deleted || it->texty.isEmpty() || (m_dotaz.Limit && m_loaded >= *m_dotaz.Limit))
            continue;
        bool belongs = false;
        try {
            belongs = Db->OpenRecordset(QStringLiteral("select count(*)") + m_dotaz.Odkud + QStringLiteral(" AND Inter=")
                                            + QString::number(it.key()),
                                        dao::dbOpenForwardOnly)
                          ->Fields(0)
                          .Value()
                          .toLong()
                      > 0;
        } catch (const VbError &) {
            // the catalog locked just now: the row shows with the next load
        }
        if (belongs) {
            PridejRadek(it->texty);
            ++m_loaded;
        }
    }
    m_changed.clear();
    VEdit->RecordSetRows(m_celkem >= 0 ? m_celkem : m_loaded);
    VEdit->FirstCol(1);
    VEdit->Redraw(true);
    UkazPopis();
    // The preview follows once the rows have settled.
    tmr->start();
}
