#pragma once

#include <QSet>
#include <QString>
#include <QStringList>

// The translated message texts in message-number order. Message n is the n-th entry,
// whatever id its row had; the id only keeps a row from being added twice.
class MessageList
{
public:
    // False (and nothing added) when an entry of that id is already there.
    bool add(const QString &id, const QString &text)
    {
        if (m_ids.contains(id))
            return false;
        m_ids.insert(id);
        m_texts.append(text);
        return true;
    }
    qsizetype count() const { return m_texts.size(); }
    // Entry n counted from 1; nullptr where there is none.
    const QString *item(qsizetype n) const { return n >= 1 && n <= m_texts.size() ? &m_texts[n - 1] : nullptr; }

private:
    QStringList m_texts;
    QSet<QString> m_ids;
};

// The text shown for message `number` whose Czech text is `czech`: the list's entry where
// the list has one that is not empty, else the Czech text.
inline QString MessageText(const MessageList *list, qsizetype number, const QString &czech)
{
    if (!list || czech.isEmpty())
        return czech;
    const QString *entry = list->item(number);
    return entry && !entry->isEmpty() ? *entry : czech;
}
