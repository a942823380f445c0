#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "platform/message_boxes.h"

namespace platform {

// One message box as the program showed it, and how it was answered.
struct ShownMessageBox {
  WindowRef owner = 0;
  std::string text;
  std::string caption;
  std::uint32_t flags = 0;
  int answer = 0;
  bool scripted = false;  // false: no usable answer was queued, the box took its default
};

// Message boxes answered from a script the test writes beforehand. A box that finds no
// answer it could give takes the answer that ends the question (OK, Abort, No, Cancel) and
// is recorded as unscripted, so a loop that asks again on "any other answer" always ends.
class ScriptedMessageBoxes final : public MessageBoxes {
 public:
  int Show(WindowRef owner, const char* text, const char* caption, std::uint32_t flags) override;

  // Answers are used in order. An answer the next box has no button for (Retry for an OK
  // box) stays queued for a later box, and that box is answered as unscripted.
  void QueueAnswer(int answer) { answers_.push_back(answer); }
  std::size_t PendingAnswerCount() const { return answers_.size(); }

  const std::vector<ShownMessageBox>& Shown() const { return shown_; }
  std::size_t UnscriptedCount() const;

 private:
  std::deque<int> answers_;
  std::vector<ShownMessageBox> shown_;
};

// The answer a box with these flags gives when nobody scripted one.
int UnscriptedAnswer(std::uint32_t flags);

// Whether a box with these flags has a button for that answer.
bool BoxCanAnswer(std::uint32_t flags, int answer);

}  // namespace platform
