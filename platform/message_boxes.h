#pragma once

#include <cstdint>

namespace platform {

// A window handle's value (HWND); 0 is no window.
using WindowRef = std::uintptr_t;

// Button and icon flags, and answers, with the numbers MessageBoxA uses.
namespace mb {
inline constexpr std::uint32_t kOk = 0x0;
inline constexpr std::uint32_t kAbortRetryIgnore = 0x2;
inline constexpr std::uint32_t kYesNo = 0x4;
inline constexpr std::uint32_t kIconQuestion = 0x20;
inline constexpr std::uint32_t kIconExclamation = 0x30;
inline constexpr std::uint32_t kIconInformation = 0x40;
inline constexpr std::uint32_t kButtonsMask = 0xF;

inline constexpr int kIdOk = 1;
inline constexpr int kIdCancel = 2;
inline constexpr int kIdAbort = 3;
inline constexpr int kIdRetry = 4;
inline constexpr int kIdIgnore = 5;
inline constexpr int kIdYes = 6;
inline constexpr int kIdNo = 7;
}  // namespace mb

// The program's only way of telling the user something: a modal message box.
class MessageBoxes {
 public:
  virtual ~MessageBoxes() = default;

  // MessageBoxA(owner, text, caption, flags): the button the user chose.
  virtual int Show(WindowRef owner, const char* text, const char* caption, std::uint32_t flags) = 0;
};

}  // namespace platform
