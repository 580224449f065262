#include "testfiles.h"

#include "platform/db/dberror.h"

#include <QFile>

#include <gtest/gtest.h>

namespace pv::testing {

QByteArray ReadBytes(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteBytes(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
  ASSERT_EQ(file.write(bytes), bytes.size());
}

void ExpectDamagedFilesFail(const std::vector<DamagedFile>& files, const QString& path,
                            const std::function<void()>& read) {
  for (const DamagedFile& file : files) {
    WriteBytes(path, file.bytes);
    EXPECT_THROW(read(), DbError) << file.name;
  }
}

}  // namespace pv::testing
