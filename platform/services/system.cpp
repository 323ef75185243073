#include "system.h"

#include <QApplication>
#include <QDir>
#include <QKeyEvent>
#include <QSysInfo>
#include <QWidget>
#include <QWindow>

#include <atomic>
#include <pwd.h>
#include <unistd.h>
#include <utility>

namespace sys {

namespace {

void desktopBeep(int, int)
{
    // Without a GUI application there is no platform to ring the bell on.
    if (qGuiApp)
        QApplication::beep();
}

std::function<void(int, int)> &beepHook()
{
    static std::function<void(int, int)> hook = desktopBeep;
    return hook;
}

std::atomic<int> beeps{0};

std::function<std::optional<bool>(Key)> &keyStateHook()
{
    static std::function<std::optional<bool>(Key)> hook;
    return hook;
}

std::optional<Qt::KeyboardModifier> modifierOf(Key k)
{
    switch (k) {
    case Key::Control: return Qt::ControlModifier;
    case Key::Shift: return Qt::ShiftModifier;
    case Key::Alt: return Qt::AltModifier;
    default: return std::nullopt;
    }
}

// The text a real key press would carry, so that editors insert typed characters.
QString textOf(int qtKey, Qt::KeyboardModifiers mods)
{
    if (mods & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return {};
    switch (qtKey) {
    case Qt::Key_Return:
    case Qt::Key_Enter: return QStringLiteral("\r");
    case Qt::Key_Tab: return QStringLiteral("\t");
    case Qt::Key_Backspace: return QStringLiteral("\b");
    case Qt::Key_Escape: return QStringLiteral("\x1b");
    default: break;
    }
    // Below the special keys Qt's key codes are the (upper case) characters.
    if (qtKey <= 0 || qtKey >= Qt::Key_Escape || !QChar::isPrint(char32_t(qtKey)))
        return {};
    const char32_t c = char32_t(qtKey);
    const QString text = QString::fromUcs4(&c, 1);
    return (mods & Qt::ShiftModifier) ? text.toUpper() : text.toLower();
}

} // namespace

void Beep(int frequencyHz, int durationMs)
{
    ++beeps;
    // A copy, so that a hook may replace itself while it runs.
    if (const auto hook = beepHook())
        hook(frequencyHz, durationMs);
}

std::function<void(int, int)> setBeepHook(std::function<void(int, int)> hook)
{
    return std::exchange(beepHook(), hook ? std::move(hook) : desktopBeep);
}

int beepCount()
{
    return beeps;
}

void resetBeepCount()
{
    beeps = 0;
}

bool isKeyDown(Key k)
{
    if (const auto hook = keyStateHook())
        return hook(k).value_or(false);
    const auto modifier = modifierOf(k);
    if (!modifier || !qGuiApp)
        return false;
    return QGuiApplication::queryKeyboardModifiers().testFlag(*modifier);
}

std::optional<bool> keyToggled(Key k)
{
    if (const auto hook = keyStateHook())
        return hook(k);
    return std::nullopt;
}

void setKeyStateHook(std::function<std::optional<bool>(Key)> hook)
{
    keyStateHook() = std::move(hook);
}

void sendKey(int qtKey, Qt::KeyboardModifiers mods)
{
    QObject *target = QApplication::focusWidget();
    if (!target)
        target = QGuiApplication::focusWindow();
    if (!target)
        return;
    // Tab with Shift is how Qt itself reports a backwards Tab.
    if (qtKey == Qt::Key_Tab && (mods & Qt::ShiftModifier))
        qtKey = Qt::Key_Backtab;
    const QString text = textOf(qtKey, mods);
    QKeyEvent press(QEvent::KeyPress, qtKey, mods, text);
    QCoreApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, qtKey, mods, text);
    QCoreApplication::sendEvent(target, &release);
}

QString UserName()
{
    for (const char *name : {"USER", "LOGNAME"}) {
        const QString value = qEnvironmentVariable(name);
        if (!value.isEmpty())
            return value;
    }
    if (const passwd *pw = getpwuid(geteuid()))
        return QString::fromLocal8Bit(pw->pw_name);
    return {};
}

QString TempPath()
{
    QString path = QDir::tempPath();
    if (!path.endsWith(QLatin1Char('/')))
        path += QLatin1Char('/');
    return path;
}

QString OsName()
{
    return QSysInfo::prettyProductName();
}

} // namespace sys
