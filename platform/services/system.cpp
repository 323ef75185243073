#include "system.h"

#include <QApplication>
#include <QDir>
#include <QKeyEvent>
#include <QSysInfo>
#include <QWidget>
#include <QWindow>

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <pwd.h>
#include <string>
#include <unistd.h>
#include <utility>

#if QT_CONFIG(xcb)
#include <xcb/xcb.h>
// The keyboard extension's C header names a field "explicit".
#define explicit explicit_
#include <xcb/xkb.h>
#undef explicit
#endif

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

#if QT_CONFIG(xcb)
template <typename Reply>
using XcbReply = std::unique_ptr<Reply, decltype(&std::free)>;

template <typename Reply>
XcbReply<Reply> xcbReply(Reply *reply)
{
    return {reply, &std::free};
}

// Whether the keyboard extension answers on the display connection, and the indicator
// names asked for so far: both hold as long as the connection.
struct XkbConnection
{
    xcb_connection_t *connection = nullptr;
    bool usable = false;
    std::map<std::string, xcb_atom_t> atoms;
};

XkbConnection &xkbOn(xcb_connection_t *connection)
{
    static XkbConnection known;
    if (known.connection != connection) {
        known = XkbConnection{connection, false, {}};
        // A request of an extension the server lacks would close the connection.
        const xcb_query_extension_reply_t *extension = xcb_get_extension_data(connection, &xcb_xkb_id);
        if (extension && extension->present) {
            // The server answers keyboard-extension requests only from a client that has
            // announced itself; Qt has on this connection, announcing again does no harm.
            const auto use = xcbReply(xcb_xkb_use_extension_reply(
                connection, xcb_xkb_use_extension(connection, XCB_XKB_MAJOR_VERSION, XCB_XKB_MINOR_VERSION), nullptr));
            known.usable = use && use->supported;
        }
    }
    return known;
}
#endif

// Whether the keyboard's indicator of this name is lit, as the X server shows it through
// the display connection Qt holds. Nothing where Qt does not run on X (offscreen,
// Wayland) or the keyboard has no such indicator.
std::optional<bool> x11Indicator(const char *name)
{
#if QT_CONFIG(xcb)
    const auto *x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    xcb_connection_t *connection = x11 ? x11->connection() : nullptr;
    if (!connection || xcb_connection_has_error(connection))
        return std::nullopt;
    XkbConnection &xkb = xkbOn(connection);
    if (!xkb.usable)
        return std::nullopt;
    auto atom = xkb.atoms.find(name);
    if (atom == xkb.atoms.end()) {
        const auto interned = xcbReply(xcb_intern_atom_reply(
            connection, xcb_intern_atom(connection, true, uint16_t(std::strlen(name)), name), nullptr));
        atom = xkb.atoms.emplace(name, interned ? interned->atom : xcb_atom_t(XCB_ATOM_NONE)).first;
    }
    if (atom->second == XCB_ATOM_NONE)
        return std::nullopt;
    const auto indicator = xcbReply(xcb_xkb_get_named_indicator_reply(
        connection,
        xcb_xkb_get_named_indicator(connection, XCB_XKB_ID_USE_CORE_KBD, XCB_XKB_LED_CLASS_DFLT_XI_CLASS,
                                    XCB_XKB_ID_DFLT_XI_ID, atom->second),
        nullptr));
    if (!indicator || !indicator->found)
        return std::nullopt;
    return indicator->on != 0;
#else
    Q_UNUSED(name);
    return std::nullopt;
#endif
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
    switch (k) {
    case Key::CapsLock: return x11Indicator("Caps Lock");
    case Key::NumLock: return x11Indicator("Num Lock");
    case Key::ScrollLock: return x11Indicator("Scroll Lock");
    default: return std::nullopt;
    }
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
