#include "libroutines.h"

#include "messagelist.h"
#include "system.h"
#include "jetsql.h"
#include "vberror.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTabBar>
#include <QTabWidget>
#include <QValidator>

#include <algorithm>
#include <optional>

namespace tabulix {

namespace {

// The library keeps its own copy of the host's texts: a host that replaces or frees its
// list can never leave the controls reading freed memory.
std::optional<MessageList> g_texts;

QString translated(const QString &text)
{
    return PrelozText(text);
}

}  // namespace

void setTexts(const MessageList *texts)
{
    if (texts)
        g_texts = *texts;
    else
        g_texts.reset();
}

const MessageList *texts()
{
    return g_texts ? &*g_texts : nullptr;
}

QString CSQL(const Variant &value, const bool &numeric)
{
    // The date alone, at midnight: the form a stored date of the day compares equal to.
    static constexpr jet::SqlLiteralRules rules{
        [](const Variant &date) {
            return QLatin1Char('\'') + date.toDateTime().date().toString(QStringLiteral("yyyy-MM-dd"))
                   + QStringLiteral(" 00:00:00'");
        },
        [](const QString &text) { return PrelozText(text); }};
    return jet::sqlLiteral(value, numeric, rules);
}

QString PrelozText(QString &text)
{
    const qsizetype comma = text.indexOf(QLatin1Char(','));
    if (comma < 0)
        return text;
    bool isNumber = false;
    const qlonglong number = text.left(comma).trimmed().toLongLong(&isNumber);
    // A caption that merely contains a comma is no message.
    if (!isNumber || number == 0)
        return text;
    text = text.mid(comma + 1);
    return MessageText(g_texts ? &*g_texts : nullptr, number, text);
}

QString PrelozText(const QString &text)
{
    QString copy = text;
    return PrelozText(copy);
}

void PrelozFormular(QWidget *window, const quint8 &flag)
{
    if (!window)
        return;
    const auto widgets = window->findChildren<QWidget *>();
    for (QWidget *w : widgets) {
        if (auto *label = qobject_cast<QLabel *>(w)) {
            label->setText(translated(label->text()));
        } else if (auto *button = qobject_cast<QAbstractButton *>(w)) {
            button->setText(translated(button->text()));
            button->setToolTip(translated(button->toolTip()));
        } else if (auto *group = qobject_cast<QGroupBox *>(w)) {
            group->setTitle(translated(group->title()));
        } else if (qobject_cast<QLineEdit *>(w) || qobject_cast<QComboBox *>(w)) {
            w->setToolTip(translated(w->toolTip()));
        } else if (auto *tabs = qobject_cast<QTabBar *>(w)) {
            for (int i = 0; i < tabs->count(); ++i) {
                tabs->setTabText(i, translated(tabs->tabText(i)));
                tabs->setTabToolTip(i, translated(tabs->tabToolTip(i)));
            }
        } else if (auto *menu = qobject_cast<QMenu *>(w)) {
            menu->setTitle(translated(menu->title()));
            for (QAction *action : menu->actions())
                if (!action->isSeparator())
                    action->setText(translated(action->text()));
        }
    }
    if (flag != 1)
        window->setWindowTitle(translated(window->windowTitle()));
}

namespace {

QLineEdit *lineEditOf(QWidget *box)
{
    if (auto *edit = qobject_cast<QLineEdit *>(box))
        return edit;
    if (auto *combo = qobject_cast<QComboBox *>(box))
        return combo->lineEdit();
    return nullptr;
}

bool loneHalf(const QString &text, qsizetype i)
{
    const QChar c = text.at(i);
    if (c.isHighSurrogate())
        return i + 1 >= text.size() || !text.at(i + 1).isLowSurrogate();
    if (c.isLowSurrogate())
        return i == 0 || !text.at(i - 1).isHighSurrogate();
    return false;
}

// A text or combo box's limit cuts by code units, and would keep the first half of a pair.
class WholeCharacters : public QValidator
{
public:
    using QValidator::QValidator;
    State validate(QString &input, int &pos) const override
    {
        for (qsizetype i = input.size() - 1; i >= 0; --i) {
            if (loneHalf(input, i)) {
                input.remove(i, 1);
                if (pos > i)
                    --pos;
            }
        }
        return Acceptable;
    }
};

}  // namespace

void KeyPressInsert(QWidget *box, qint16 &keyAscii, const qint16 &override)
{
    // The key is a UTF-16 code unit; those above 0x7FFF arrive as negative numbers.
    quint16 key = quint16(keyAscii);
    keyAscii = 0;
    if (override >= 0)
        key = quint16(override);
    if (key <= 31)
        return;
    KeyPressInsert(box, QString(QChar(char16_t(key))));
}

void KeyPressInsert(QWidget *box, const QString &typed)
{
    QLineEdit *edit = lineEditOf(box);
    if (!edit)
        return;
    QString text;
    text.reserve(typed.size());
    for (const QChar c : typed)
        if (c.unicode() > 31 && c.unicode() != 0x7F)
            text += c;
    if (text.isEmpty())
        return;
    // Typing over a selection replaces it, as in any text box: the old boxes' way of
    // typing ahead of the selection garbled a text retyped over a refused one, and the
    // editors select a refused text whole for the user to type over. The length limit
    // counts the text as it is after the replacement.
    const int replaced = edit->hasSelectedText() ? edit->selectionLength() : 0;
    const int maxLength = edit->maxLength();
    const QString fits = maxLength > 0 ? LeftWhole(text, std::max<qsizetype>(0, maxLength - (edit->text().size() - replaced)))
                                       : text;
    if (fits.size() < text.size())
        sys::Beep(0, 0);
    // Inserted as the box's own edit, not by rewriting its text: rewriting would wipe
    // the box's undo history, and Ctrl+Z would undo nothing typed.
    if (!fits.isEmpty())
        edit->insert(fits);
}

QString LeftWhole(const QString &text, qsizetype length)
{
    if (length <= 0)
        return QString();
    if (length >= text.size())
        return text;
    if (text.at(length - 1).isHighSurrogate() && text.at(length).isLowSurrogate())
        --length;
    return text.left(length);
}

void KeepCharactersWhole(QWidget *box)
{
    if (auto *combo = qobject_cast<QComboBox *>(box))
        combo->setValidator(new WholeCharacters(combo));
    else if (auto *edit = qobject_cast<QLineEdit *>(box))
        edit->setValidator(new WholeCharacters(edit));
}

}  // namespace tabulix
