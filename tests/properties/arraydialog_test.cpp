// The series-copy dialog's checks: one table of box texts to a message or
// to the values.
#include "tests/support/answer_boxes.h"
#include "properties/arraydialog.h"

#include "platform/msgbox.h"
#include "platform/stringtable.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

namespace {

TEST(ArrayDialogTest, BoxTextsGiveTheFirstFailingMessageOrTheValues) {
  struct Case {
    std::array<const char*, 4> text;
    int message;
    int xCopy, yCopy;
    float xDelta, yDelta;
  };
  const std::vector<Case> cases = {
      {{"20", "20", "100", "100"}, 0, 20, 20, 100, 100},
      {{"1", "1", "1", "1"}, 0, 1, 1, 1, 1},
      {{"21", "1", "2", "2"}, 15099, 0, 0, 0, 0},
      {{"1", "21", "2", "2"}, 15099, 0, 0, 0, 0},
      {{"20.4", "1", "2", "2"}, 15099, 0, 0, 0, 0},  // range on the unrounded value
      {{"0.99", "1", "2", "2"}, 15099, 0, 0, 0, 0},
      {{"1", "1", "0.5", "2"}, 15100, 0, 0, 0, 0},
      {{"1", "1", "2", "100,01"}, 15100, 0, 0, 0, 0},
      {{"abc", "1", "x", "2"}, 15099, 0, 0, 0, 0},  // copies before any pitch
      {{"1", "1", "x", "2"}, 15100, 0, 0, 0, 0},
      {{"", "1", "2", "2"}, 15099, 0, 0, 0, 0},
      {{"1", "1", "2", ""}, 15100, 0, 0, 0, 0},
      {{"1,2,3", "1", "2", "2"}, 15099, 0, 0, 0, 0},
      {{"1.5", "1", "2", "2"}, 0, 2, 1, 2, 2},  // halves to even
      {{"2.5", "3,5", "2.5", "2"}, 0, 2, 4, 2.5f, 2},
      {{"2,5", "1", "2,5", "2"}, 0, 2, 1, 2.5f, 2},  // a comma is never cut off
      {{" 3 ", "  2", "25,5 ", "12"}, 0, 3, 2, 25.5f, 12},
      {{"+4", "1", "+7.25", "2"}, 0, 4, 1, 7.25f, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.text[0] << " | " << c.text[1] << " | " << c.text[2] << " | " << c.text[3]);
    pv::ArrayDialogModel m;
    for (std::size_t i = 0; i < 4; ++i) m.Text[i] = QString::fromUtf8(c.text[i]);
    std::vector<pv::MsgBoxRequest> boxes;
    pv::test::AnswerMessageBoxesWith([&](const pv::MsgBoxRequest& r) {
      boxes.push_back(r);
      return pv::MsgAnswer::Ok;
    });
    const bool passed = m.Confirm();
    pv::test::AnswerMessageBoxesWith({});
    EXPECT_EQ(passed, c.message == 0);
    if (c.message) {
      ASSERT_EQ(boxes.size(), 1u);
      EXPECT_EQ(boxes[0].text, pv::LoadResString(c.message));
      EXPECT_EQ(boxes[0].icon, pv::MsgIcon::Information);
      EXPECT_EQ(m.Answer.RetCode, 0);
    } else {
      EXPECT_TRUE(boxes.empty());
      EXPECT_NE(m.Answer.RetCode, 0);
    }
    EXPECT_EQ(m.Answer.xCopy, c.xCopy);
    EXPECT_EQ(m.Answer.yCopy, c.yCopy);
    EXPECT_FLOAT_EQ(m.Answer.xDelta, c.xDelta);
    EXPECT_FLOAT_EQ(m.Answer.yDelta, c.yDelta);
  }
}

TEST(ArrayDialogTest, StartsFromOneCopyPitchTwoAndCancelKeepsTheValues) {
  pv::ArrayDialogModel m;
  EXPECT_EQ(m.Caption(), QStringLiteral("Copia in serie"));
  EXPECT_EQ(m.Text[0], QStringLiteral("1"));
  EXPECT_EQ(m.Text[1], QStringLiteral("1"));
  EXPECT_EQ(m.Text[2], QStringLiteral("2"));
  EXPECT_EQ(m.Text[3], QStringLiteral("2"));
  m.Cancel();
  EXPECT_EQ(m.Answer.RetCode, 0);
  EXPECT_EQ(m.Answer.xCopy, 0);
  EXPECT_EQ(m.Answer.yCopy, 0);
  EXPECT_EQ(m.Answer.xDelta, 0.0f);
  EXPECT_EQ(m.Answer.yDelta, 0.0f);
}

}  // namespace
