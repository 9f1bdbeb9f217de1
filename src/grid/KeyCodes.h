#pragma once

#include <QString>
#include <Qt>

namespace mz {

// The grid works on the platform-neutral virtual-key codes below; every Qt key
// and modifier is translated in KeyCodes.cpp and nowhere else.
namespace vk {
inline constexpr int Back = 8;
inline constexpr int Tab = 9;
inline constexpr int Return = 13;
inline constexpr int Shift = 16;
inline constexpr int Control = 17;
inline constexpr int Menu = 18; // Alt
inline constexpr int Escape = 27;
inline constexpr int Space = 32;
inline constexpr int Prior = 33;
inline constexpr int Next = 34;
inline constexpr int End = 35;
inline constexpr int Home = 36;
inline constexpr int Left = 37;
inline constexpr int Up = 38;
inline constexpr int Right = 39;
inline constexpr int Down = 40;
inline constexpr int Insert = 45;
inline constexpr int Delete = 46;
inline constexpr int KeyA = 65;
inline constexpr int KeyZ = 90;
} // namespace vk

// The modifier keys held with a key press: a set of these flags.
enum TShiftFlag : unsigned { ssShift = 1, ssAlt = 2, ssCtrl = 4 };
using TShiftState = unsigned;

// Virtual-key code of a Qt key; 0 for a key that has none.
int VirtualKeyFromQt(int qtKey, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
// Shift, Alt and Ctrl of Qt's modifiers; other modifiers (keypad, group switch, meta) are dropped.
TShiftState ShiftStateFromQt(Qt::KeyboardModifiers modifiers);
// The CP1250 code of the Polish capital that the typed text stands for (ą or Ą give Ą),
// or 0 when the text is not exactly one of the nine Polish letters. AltGr layouts
// deliver Polish letters this way.
unsigned char PolishCapitalOfText(const QString& text);

} // namespace mz
