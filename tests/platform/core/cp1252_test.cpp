#include "platform/cp1252.h"

#include <gtest/gtest.h>

namespace {

TEST(Cp1252, ItalianTextBothWays) {
  const QString text = QString::fromUtf8("àèéìòù °€ “x”");
  const QByteArray bytes = pv::ToAnsi(text);
  EXPECT_EQ(bytes, QByteArray("\xE0\xE8\xE9\xEC\xF2\xF9 \xB0\x80 \x93x\x94"));
  EXPECT_EQ(pv::FromAnsi(bytes), text);
}

TEST(Cp1252, UnrepresentableBecomesQuestionMark) {
  EXPECT_EQ(pv::ToAnsi(QString::fromUtf8("a→b😀c")), QByteArray("a?b?c"));
}

TEST(Cp1252, EveryByteRoundTrips) {
  QByteArray all;
  for (int b = 0; b < 256; ++b) all.append(static_cast<char>(b));
  EXPECT_EQ(pv::ToAnsi(pv::FromAnsi(all)), all);
}

}  // namespace
