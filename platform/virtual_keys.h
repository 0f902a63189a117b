// Key codes as scripts see them: the numbering objects were written for. Letters
// and digits are their upper-case ASCII codes.
#pragma once

namespace ixo::platform::vk {

inline constexpr int kBackspace = 0x08;
inline constexpr int kTab = 0x09;
inline constexpr int kReturn = 0x0D;
inline constexpr int kShift = 0x10;
inline constexpr int kControl = 0x11;
inline constexpr int kAlt = 0x12;
inline constexpr int kPause = 0x13;
inline constexpr int kCapsLock = 0x14;
inline constexpr int kEscape = 0x1B;
inline constexpr int kSpace = 0x20;
inline constexpr int kPageUp = 0x21;
inline constexpr int kPageDown = 0x22;
inline constexpr int kEnd = 0x23;
inline constexpr int kHome = 0x24;
inline constexpr int kLeft = 0x25;
inline constexpr int kUp = 0x26;
inline constexpr int kRight = 0x27;
inline constexpr int kDown = 0x28;
inline constexpr int kInsert = 0x2D;
inline constexpr int kDelete = 0x2E;
inline constexpr int kDigit0 = 0x30;
inline constexpr int kLetterA = 0x41;
inline constexpr int kNumpad0 = 0x60;
inline constexpr int kF1 = 0x70;
inline constexpr int kLeftShift = 0xA0;
inline constexpr int kRightShift = 0xA1;
inline constexpr int kLeftControl = 0xA2;
inline constexpr int kRightControl = 0xA3;

// Physical pointer buttons answer key-state questions too.
inline constexpr int kLeftButton = 0x01;
inline constexpr int kRightButton = 0x02;
inline constexpr int kMiddleButton = 0x04;

}  // namespace ixo::platform::vk
