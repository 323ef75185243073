#pragma once

#include <QString>
#include <Qt>

#include <functional>
#include <optional>

// Small calls into the platform that the program made to the system directly.
namespace sys {

// Form and control sizes in the program are in twips; a pixel is 15 of them at the
// 96 dpi the layouts were drawn at.
constexpr int TwipsPerPixel = 15;
constexpr int toTwips(int px) { return px * TwipsPerPixel; }
// Rounded to the nearest pixel; with an odd divisor there are no halves to settle.
constexpr int toPixels(int twips)
{
    constexpr int half = TwipsPerPixel / 2;
    return twips >= 0 ? (twips + half) / TwipsPerPixel : -((-twips + half) / TwipsPerPixel);
}
constexpr double toTwips(double px) { return px * TwipsPerPixel; }
// Unrounded, for geometry that is computed further before it is drawn.
constexpr double toPixels(double twips) { return twips / TwipsPerPixel; }

// Sounds through the hook; the default one is the desktop's bell, which needs no
// sound device. Every call is counted, whatever the hook does.
void Beep(int frequencyHz, int durationMs);
// Gives back the hook it replaces; an empty hook puts back the default.
std::function<void(int, int)> setBeepHook(std::function<void(int, int)> hook);
int beepCount();
void resetBeepCount();

enum class Key { Control, Shift, Alt, CapsLock, NumLock, ScrollLock, Insert };

// Whether the key is held now. Known for Control, Shift and Alt only; false for the
// others, whose held state Qt does not report.
bool isKeyDown(Key k);
// Whether a lock key is switched on, as the keyboard's indicator shows it. Read from the
// X server where the program runs on X; nullopt elsewhere (offscreen, Wayland), where
// no such reading is possible, and callers choose their own default. Insert gives
// nullopt everywhere: no keyboard state holds an Insert toggle, and insert or overwrite
// belongs to each edit control. Modifiers are not toggles and give nullopt as well.
std::optional<bool> keyToggled(Key k);
// While set, the hook answers both calls instead of the keyboard (nullopt from it
// means "not down" to isKeyDown). An empty hook goes back to the keyboard.
void setKeyStateHook(std::function<std::optional<bool>(Key)> hook);

// Delivers a press and release of the key to the focus widget (or, without one, the
// focus window) at once, before returning. Used to turn Enter into Tab.
void sendKey(int qtKey, Qt::KeyboardModifiers mods = {});

// The login name of the user running the program.
QString UserName();
// The temporary folder, ending in "/".
QString TempPath();
// A short name and version of the operating system, for the About box and logs.
QString OsName();

} // namespace sys
