#include "platform/msgbox.h"
#include "platform/stringtable.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct AnsweringBoxes : pv::MessageBoxHost {
  std::vector<pv::MsgBoxRequest> seen;
  pv::MsgAnswer Show(const pv::MsgBoxRequest& r) override {
    seen.push_back(r);
    return pv::MsgAnswer::No;
  }
};

TEST(MsgBox, HostAnswersAndSeesTitle) {
  AnsweringBoxes boxes;
  const pv::ScopedHost<pv::MessageBoxHost> installed(boxes);
  EXPECT_EQ(pv::MsgBox(QStringLiteral("x"), pv::MsgIcon::Question, pv::MsgButtons::YesNoCancel), pv::MsgAnswer::No);
  ASSERT_EQ(boxes.seen.size(), 1u);
  EXPECT_EQ(boxes.seen[0].title, pv::LoadResString(1000));
  EXPECT_EQ(boxes.seen[0].icon, pv::MsgIcon::Question);
  EXPECT_EQ(boxes.seen[0].buttons, pv::MsgButtons::YesNoCancel);
}

TEST(MsgBox, WithoutHostNeverBlocks) {
  ASSERT_FALSE(pv::Slot<pv::MessageBoxHost>().Installed());
  EXPECT_EQ(pv::MsgBox(QStringLiteral("x")), pv::MsgAnswer::Ok);
  EXPECT_EQ(pv::MsgBox(QStringLiteral("x"), pv::MsgIcon::Question, pv::MsgButtons::YesNo), pv::MsgAnswer::Cancel);
}

}  // namespace
