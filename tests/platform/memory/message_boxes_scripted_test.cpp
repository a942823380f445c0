#include <gtest/gtest.h>

#include "platform/memory/scripted_message_boxes.h"

namespace platform {
namespace {

TEST(ScriptedMessageBoxes, AnswersInOrderAndRecordsEveryBox) {
  ScriptedMessageBoxes boxes;
  boxes.QueueAnswer(mb::kIdRetry);
  boxes.QueueAnswer(mb::kIdYes);
  EXPECT_EQ(boxes.Show(0x1234, "复制失败", "SetUp", mb::kAbortRetryIgnore | mb::kIconExclamation),
            mb::kIdRetry);
  EXPECT_EQ(boxes.Show(0, "继续？", "SetUp", mb::kYesNo | mb::kIconQuestion), mb::kIdYes);

  ASSERT_EQ(boxes.Shown().size(), 2u);
  const ShownMessageBox& first = boxes.Shown()[0];
  EXPECT_EQ(first.owner, 0x1234u);
  EXPECT_EQ(first.text, "复制失败");
  EXPECT_EQ(first.caption, "SetUp");
  EXPECT_EQ(first.flags, mb::kAbortRetryIgnore | mb::kIconExclamation);
  EXPECT_TRUE(first.scripted);
  EXPECT_EQ(boxes.Shown()[1].answer, mb::kIdYes);
  EXPECT_EQ(boxes.UnscriptedCount(), 0u);
  EXPECT_EQ(boxes.PendingAnswerCount(), 0u);
}

TEST(ScriptedMessageBoxes, UnscriptedBoxesTakeTheAnswerThatEndsTheQuestion) {
  ScriptedMessageBoxes boxes;
  EXPECT_EQ(boxes.Show(0, "a", "c", mb::kOk), mb::kIdOk);
  EXPECT_EQ(boxes.Show(0, "b", "c", mb::kAbortRetryIgnore), mb::kIdAbort);
  EXPECT_EQ(boxes.Show(0, "c", "c", mb::kYesNo | mb::kIconQuestion), mb::kIdNo);
  EXPECT_EQ(boxes.Show(0, "d", "c", 0x5 /* MB_RETRYCANCEL */), mb::kIdCancel);
  EXPECT_EQ(boxes.UnscriptedCount(), 4u);
  EXPECT_FALSE(boxes.Shown().back().scripted);

  // A loop that asks again on any answer but Abort ends on the first unscripted box.
  ScriptedMessageBoxes retrying;
  retrying.QueueAnswer(mb::kIdRetry);
  int asked = 0;
  while (retrying.Show(0, nullptr, nullptr, mb::kAbortRetryIgnore) != mb::kIdAbort && asked < 10) {
    ++asked;
  }
  EXPECT_EQ(asked, 1);
  EXPECT_EQ(retrying.Shown()[1].text, "");
}

TEST(ScriptedMessageBoxes, AnAnswerTheBoxHasNoButtonForWaitsForABoxThatHas) {
  ScriptedMessageBoxes boxes;
  boxes.QueueAnswer(mb::kIdRetry);
  EXPECT_EQ(boxes.Show(0, "done", "SetUp", mb::kOk), mb::kIdOk);
  EXPECT_FALSE(boxes.Shown()[0].scripted);
  EXPECT_EQ(boxes.PendingAnswerCount(), 1u);
  EXPECT_EQ(boxes.Show(0, "again?", "SetUp", mb::kAbortRetryIgnore), mb::kIdRetry);
  EXPECT_EQ(boxes.PendingAnswerCount(), 0u);

  boxes.QueueAnswer(mb::kIdCancel);
  EXPECT_EQ(boxes.Show(0, "go on?", "SetUp", mb::kYesNo), mb::kIdNo) << "MB_YESNO has no Cancel";
  EXPECT_EQ(boxes.PendingAnswerCount(), 1u);
}

}  // namespace
}  // namespace platform
