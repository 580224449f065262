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
    try {
      read();
      ADD_FAILURE() << file.name << ": read without a refusal";
    } catch (const DbError& error) {
      EXPECT_FALSE(error.Description().isEmpty()) << file.name;
      if (file.says != nullptr) {
        EXPECT_TRUE(error.Description().contains(QString::fromUtf8(file.says)))
            << file.name << ": " << error.Description().toStdString();
      }
    }
  }
}

}  // namespace pv::testing
