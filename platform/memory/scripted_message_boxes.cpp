#include "platform/memory/scripted_message_boxes.h"

#include <algorithm>
#include <initializer_list>

namespace platform {
namespace {

// The button sets of MessageBoxA beyond the three the setup uses.
constexpr std::uint32_t kOkCancel = 0x1;
constexpr std::uint32_t kYesNoCancel = 0x3;
constexpr std::uint32_t kRetryCancel = 0x5;

bool IsOneOf(int answer, std::initializer_list<int> buttons) {
  return std::find(buttons.begin(), buttons.end(), answer) != buttons.end();
}

}  // namespace

int UnscriptedAnswer(std::uint32_t flags) {
  switch (flags & mb::kButtonsMask) {
    case mb::kOk:
      return mb::kIdOk;
    case mb::kAbortRetryIgnore:
      return mb::kIdAbort;
    case mb::kYesNo:
      return mb::kIdNo;
    default:
      return mb::kIdCancel;
  }
}

bool BoxCanAnswer(std::uint32_t flags, int answer) {
  switch (flags & mb::kButtonsMask) {
    case mb::kOk:
      return answer == mb::kIdOk;
    case kOkCancel:
      return IsOneOf(answer, {mb::kIdOk, mb::kIdCancel});
    case mb::kAbortRetryIgnore:
      return IsOneOf(answer, {mb::kIdAbort, mb::kIdRetry, mb::kIdIgnore});
    case kYesNoCancel:
      return IsOneOf(answer, {mb::kIdYes, mb::kIdNo, mb::kIdCancel});
    case mb::kYesNo:
      return IsOneOf(answer, {mb::kIdYes, mb::kIdNo});
    case kRetryCancel:
      return IsOneOf(answer, {mb::kIdRetry, mb::kIdCancel});
    default:
      return false;
  }
}

int ScriptedMessageBoxes::Show(WindowRef owner, const char* text, const char* caption,
                               std::uint32_t flags) {
  ShownMessageBox box;
  box.owner = owner;
  box.text = text != nullptr ? text : "";
  box.caption = caption != nullptr ? caption : "";
  box.flags = flags;
  box.scripted = !answers_.empty() && BoxCanAnswer(flags, answers_.front());
  if (box.scripted) {
    box.answer = answers_.front();
    answers_.pop_front();
  } else {
    box.answer = UnscriptedAnswer(flags);
  }
  shown_.push_back(box);
  return box.answer;
}

std::size_t ScriptedMessageBoxes::UnscriptedCount() const {
  return static_cast<std::size_t>(std::count_if(
      shown_.begin(), shown_.end(), [](const ShownMessageBox& box) { return !box.scripted; }));
}

}  // namespace platform
