#include "testservers.h"

namespace pv::test {
namespace {

using ServersTest = ServerTest;

TEST_F(ServersTest, Run) {
  EXPECT_TRUE(Servers().Postgres().IsRunning());
  const ClientRows rows = Servers().Postgres().Query(QStringLiteral("SELECT \"ID\", \"NOTE\" FROM indirizzi ORDER BY 1"));
  EXPECT_EQ(rows.size(), 50u);
  const ClientRows mrows = Servers().Mariadb().Query(QStringLiteral("SELECT ID, NOTE FROM indirizzi ORDER BY 1"));
  EXPECT_EQ(mrows.size(), 50u);
  for (size_t i = 0; i < 12; ++i) std::printf("%s | %s\n", qPrintable(rows[i][1].value_or("<NULL>").left(60)), qPrintable(mrows[i][1].value_or("<NULL>").left(60)));
}

}  // namespace
}  // namespace pv::test
