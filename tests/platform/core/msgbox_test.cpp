#include "platform/msgbox.h"
#include "platform/stringtable.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

TEST(MsgBox, HandlerAnswersAndSeesTitle) {
  std::vector<pv::MsgBoxRequest> seen;
  auto old = pv::SetMsgBoxHandler([&](const pv::MsgBoxRequest& r) {
    seen.push_back(r);
    return pv::MsgAnswer::No;
  });
  EXPECT_EQ(pv::MsgBox(QStringLiteral("x"), pv::MsgIcon::Question, pv::MsgButtons::YesNoCancel), pv::MsgAnswer::No);
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].title, pv::LoadResString(1000));
  EXPECT_EQ(seen[0].icon, pv::MsgIcon::Question);
  EXPECT_EQ(seen[0].buttons, pv::MsgButtons::YesNoCancel);
  pv::SetMsgBoxHandler(old);
}

TEST(MsgBox, WithoutHandlerNeverBlocks) {
  auto old = pv::SetMsgBoxHandler({});
  EXPECT_EQ(pv::MsgBox(QStringLiteral("x")), pv::MsgAnswer::Ok);
  EXPECT_EQ(pv::MsgBox(QStringLiteral("x"), pv::MsgIcon::Question, pv::MsgButtons::YesNo), pv::MsgAnswer::Cancel);
  pv::SetMsgBoxHandler(old);
}

}  // namespace
