#include "common/utility.h"

#include "system.h"
#include "variant.h"

#include <QComboBox>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>

void Pipni(qint32 frequency, qint32 duration)
{
    sys::Beep(frequency, duration);
}

namespace {

// The keys the program sends, by their virtual-key codes.
int qtKeyOf(int vk)
{
    if ((vk >= '0' && vk <= '9') || (vk >= 'A' && vk <= 'Z'))
        return vk;  // Qt's codes for digits and letters are the same
    if (vk >= 0x70 && vk <= 0x87)
        return Qt::Key_F1 + (vk - 0x70);
    switch (vk) {
    case 0x08: return Qt::Key_Backspace;
    case 0x09: return Qt::Key_Tab;
    case 0x0D: return Qt::Key_Return;
    case 0x1B: return Qt::Key_Escape;
    case 0x20: return Qt::Key_Space;
    case 0x21: return Qt::Key_PageUp;
    case 0x22: return Qt::Key_PageDown;
    case 0x23: return Qt::Key_End;
    case 0x24: return Qt::Key_Home;
    case 0x25: return Qt::Key_Left;
    case 0x26: return Qt::Key_Up;
    case 0x27: return Qt::Key_Right;
    case 0x28: return Qt::Key_Down;
    case 0x2D: return Qt::Key_Insert;
    case 0x2E: return Qt::Key_Delete;
    default: return 0;
    }
}

bool hasLimit(const QLineEdit &box)
{
    // Qt's default stands for "no limit of its own".
    return box.maxLength() > 0 && box.maxLength() < 32767;
}

class LengthGuard : public QObject
{
public:
    explicit LengthGuard(QLineEdit &box) : QObject(&box), m_box(box)
    {
        // The keys of an editable combo box come to the combo box, which hands them to its
        // line edit past the line edit's filters: they are watched where they come.
        if (auto *combo = qobject_cast<QComboBox *>(box.parentWidget()); combo && combo->lineEdit() == &box) {
            m_combo = combo;
            combo->installEventFilter(this);
        }
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched != &m_box && watched != m_combo)
            return false;
        if (event->type() == QEvent::KeyPress) {
            auto *key = static_cast<QKeyEvent *>(event);
            const QString text = key->text();
            // Only typed characters: editing keys and shortcuts are the box's own.
            if (text.isEmpty() || text.at(0).unicode() < 32 || text.at(0) == QChar(0x7F)
                || (key->modifiers() & (Qt::ControlModifier | Qt::MetaModifier)))
                return false;
            HlidejDelku(m_box, key, -1);
            return true;
        }
        if (event->type() == QEvent::InputMethod) {
            // The box itself cuts composed text at its limit; the user hears that it did.
            const auto *im = static_cast<QInputMethodEvent *>(event);
            if (hasLimit(m_box) && !im->commitString().isEmpty()) {
                const qsizetype room = m_box.maxLength() - m_box.text().size() + m_box.selectedText().size();
                if (im->commitString().size() > room)
                    Pipni(400, 150);
            }
        }
        return false;
    }

private:
    QLineEdit &m_box;
    QObject *m_combo = nullptr;
};

}  // namespace

void PosliKlavesu(qint16 key, qint16 modifiers)
{
    int m = (quint16(modifiers) >> 8) & 0xFF;
    Qt::KeyboardModifiers mods;
    if (m >= 4) {
        mods |= Qt::AltModifier;
        m -= 4;
    }
    if (m >= 2) {
        mods |= Qt::ControlModifier;
        m -= 2;
    }
    if (m > 0)
        mods |= Qt::ShiftModifier;
    const int qtKey = qtKeyOf(key & 0xFF);
    if (qtKey)
        sys::sendKey(qtKey, mods);
}

void HlidejDelku(QLineEdit &box, QKeyEvent *keyEvent, qint16 key)
{
    QString character;
    if (keyEvent) {
        character = keyEvent->text();
        keyEvent->accept();
    }
    if (key >= 0)
        character = QString(QChar(char16_t(key)));
    if (character.isEmpty() || character.at(0).unicode() <= 31 || box.isReadOnly())
        return;
    // Typing over a selection replaces it, as in any text box (the old boxes typed ahead
    // of it and kept it); the limit counts the text as it is after the replacement.
    const int replaced = box.hasSelectedText() ? box.selectionLength() : 0;
    if (hasLimit(box) && box.text().size() - replaced >= box.maxLength()) {
        Pipni(400, 150);
        return;
    }
    box.insert(character);
}

void HlidejDelkuBoxu(QLineEdit &box)
{
    box.installEventFilter(new LengthGuard(box));
}

qint16 HlavniVerze(const QString &verze)
{
    const qsizetype dot = verze.indexOf(QLatin1Char('.'));
    if (dot < 1)
        return -1;
    return Variant(vbVal(verze.left(dot))).toInteger();
}
