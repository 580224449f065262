#include "platform/hostslot.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

// Two interfaces of this test, one of each kind of slot.
namespace pv {

struct ProbeHeadless {
  virtual ~ProbeHeadless() = default;
  virtual int Value() { return 1; }
};
struct ProbeWired {
  virtual ~ProbeWired() = default;
  virtual int Value() { return 2; }
};
PV_DECLARE_HOST_SLOT(ProbeHeadless)
PV_DECLARE_HOST_SLOT(ProbeWired)
PV_DEFINE_HOST_SLOT(ProbeHeadless, Headless)
PV_DEFINE_HOST_SLOT(ProbeWired, Wired)

}  // namespace pv

namespace {

struct Answer : pv::ProbeWired {
  explicit Answer(int v) : m_v(v) {}
  int Value() override { return m_v; }
  int m_v;
};

std::vector<std::string>& Reported() {
  static std::vector<std::string> names;
  return names;
}
void Record(const char* name) { Reported().emplace_back(name); }

// Records the reports of unwired slots while it lives.
class ReportRecorder {
 public:
  ReportRecorder() : m_previous(pv::SetUnwiredHostReporter(&Record)) { Reported().clear(); }
  ~ReportRecorder() { pv::SetUnwiredHostReporter(m_previous); }

 private:
  pv::UnwiredHostReporter m_previous;
};

TEST(HostSlot, AWiredSlotReportsEveryUseUntilInstalledAndAHeadlessOneNever) {
  ReportRecorder recorder;
  EXPECT_EQ(pv::Slot<pv::ProbeHeadless>().Get().Value(), 1);
  EXPECT_TRUE(Reported().empty());

  EXPECT_EQ(pv::Slot<pv::ProbeWired>().Get().Value(), 2);  // the default still answers
  EXPECT_EQ(pv::Slot<pv::ProbeWired>().Get().Value(), 2);
  EXPECT_EQ(Reported(), (std::vector<std::string>{"ProbeWired", "ProbeWired"}));

  Answer three(3);
  const pv::ScopedHost<pv::ProbeWired> installed(three);
  EXPECT_EQ(pv::Slot<pv::ProbeWired>().Get().Value(), 3);
  EXPECT_EQ(Reported().size(), 2u);
}

TEST(HostSlot, ScopedHostsNestAndPutThePreviousBack) {
  Answer outer(10), inner(20);
  {
    const pv::ScopedHost<pv::ProbeWired> a(outer);
    {
      const pv::ScopedHost<pv::ProbeWired> b(inner);
      EXPECT_EQ(pv::Slot<pv::ProbeWired>().Current(), &inner);
    }
    EXPECT_EQ(pv::Slot<pv::ProbeWired>().Current(), &outer);
  }
  EXPECT_FALSE(pv::Slot<pv::ProbeWired>().Installed());
}

TEST(HostSlot, AScopedHostDoesNotUndoALaterInstall) {
  Answer mine(1), theirs(2);
  {
    const pv::ScopedHost<pv::ProbeWired> scoped(mine);
    pv::Slot<pv::ProbeWired>().Set(&theirs);
  }
  EXPECT_EQ(pv::Slot<pv::ProbeWired>().Current(), &theirs);
  pv::Slot<pv::ProbeWired>().Set(nullptr);
}

TEST(HostSlot, TheRegistryKnowsEverySlotWithItsKind) {
  const auto& all = pv::HostSlotBase::Registry();
  const auto find = [&](const char* name) {
    return std::find_if(all.begin(), all.end(), [&](pv::HostSlotBase* s) { return std::string(s->Name()) == name; });
  };
  ASSERT_NE(find("ProbeHeadless"), all.end());
  ASSERT_NE(find("ProbeWired"), all.end());
  EXPECT_EQ((*find("ProbeHeadless"))->Kind(), pv::HostDefault::Headless);
  EXPECT_EQ((*find("ProbeWired"))->Kind(), pv::HostDefault::Wired);
}

}  // namespace
