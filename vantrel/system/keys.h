// Names for the key and button codes that polled input and key events use:
//
//   if (TakeKeyHits(keys::Escape)) ...
//   x += IsKeyDown(keys::Right) - IsKeyDown(keys::Left);
//   if (TakeButtonHits(buttons::Left)) ...
//
// A key code is the key's Windows virtual-key number, whatever the platform:
// letters and digits are their upper-case ASCII codes, so keys::A + n and
// keys::Digit0 + n name the others. Shift, Control and Alt are reported
// as their left or right key, never as one code for both. Buttons are
// numbered by the engine (1 left, 2 right, 3 middle), not as virtual keys.
//
// The names live in their own namespaces so that `using namespace vantrel`
// brings in only `keys` and `buttons`, never a short name such as `Left`
// or `A` that a game's own code may use.
#pragma once

namespace vantrel {
namespace keys {

inline constexpr int Backspace = 0x08;
inline constexpr int Tab = 0x09;
inline constexpr int Return = 0x0D;   // both Return and the keypad's Enter
inline constexpr int Pause = 0x13;
inline constexpr int CapsLock = 0x14;
inline constexpr int Escape = 0x1B;
inline constexpr int Space = 0x20;
inline constexpr int PageUp = 0x21;
inline constexpr int PageDown = 0x22;
inline constexpr int End = 0x23;
inline constexpr int Home = 0x24;
inline constexpr int Left = 0x25;
inline constexpr int Up = 0x26;
inline constexpr int Right = 0x27;
inline constexpr int Down = 0x28;
inline constexpr int PrintScreen = 0x2C;
inline constexpr int Insert = 0x2D;
inline constexpr int Delete = 0x2E;

inline constexpr int Digit0 = '0', Digit1 = '1', Digit2 = '2', Digit3 = '3', Digit4 = '4';
inline constexpr int Digit5 = '5', Digit6 = '6', Digit7 = '7', Digit8 = '8', Digit9 = '9';

inline constexpr int A = 'A', B = 'B', C = 'C', D = 'D', E = 'E', F = 'F', G = 'G';
inline constexpr int H = 'H', I = 'I', J = 'J', K = 'K', L = 'L', M = 'M', N = 'N';
inline constexpr int O = 'O', P = 'P', Q = 'Q', R = 'R', S = 'S', T = 'T', U = 'U';
inline constexpr int V = 'V', W = 'W', X = 'X', Y = 'Y', Z = 'Z';

inline constexpr int Numpad0 = 0x60, Numpad1 = 0x61, Numpad2 = 0x62, Numpad3 = 0x63, Numpad4 = 0x64;
inline constexpr int Numpad5 = 0x65, Numpad6 = 0x66, Numpad7 = 0x67, Numpad8 = 0x68, Numpad9 = 0x69;
inline constexpr int NumpadMultiply = 0x6A;
inline constexpr int NumpadPlus = 0x6B;
inline constexpr int NumpadMinus = 0x6D;
inline constexpr int NumpadPeriod = 0x6E;
inline constexpr int NumpadDivide = 0x6F;

inline constexpr int F1 = 0x70, F2 = 0x71, F3 = 0x72, F4 = 0x73, F5 = 0x74, F6 = 0x75;
inline constexpr int F7 = 0x76, F8 = 0x77, F9 = 0x78, F10 = 0x79, F11 = 0x7A, F12 = 0x7B;

inline constexpr int NumLock = 0x90;
inline constexpr int ScrollLock = 0x91;
inline constexpr int LeftShift = 0xA0;
inline constexpr int RightShift = 0xA1;
inline constexpr int LeftCtrl = 0xA2;
inline constexpr int RightCtrl = 0xA3;
inline constexpr int LeftAlt = 0xA4;
inline constexpr int RightAlt = 0xA5;

// The punctuation keys, named after what they show on a US keyboard.
inline constexpr int Semicolon = 0xBA;
inline constexpr int Equals = 0xBB;
inline constexpr int Comma = 0xBC;
inline constexpr int Minus = 0xBD;
inline constexpr int Period = 0xBE;
inline constexpr int Slash = 0xBF;
inline constexpr int Grave = 0xC0;
inline constexpr int LeftBracket = 0xDB;
inline constexpr int Backslash = 0xDC;
inline constexpr int RightBracket = 0xDD;
inline constexpr int Apostrophe = 0xDE;

}  // namespace keys

namespace buttons {

inline constexpr int Left = 1;
inline constexpr int Right = 2;
inline constexpr int Middle = 3;

}  // namespace buttons
}  // namespace vantrel
