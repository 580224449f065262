#pragma once
// Files for the readers' tests: whole files in and out, and damaged copies
// that must fail to read.
#include <QByteArray>
#include <QString>

#include <functional>
#include <vector>

namespace pv::testing {

QByteArray ReadBytes(const QString& path);
void WriteBytes(const QString& path, const QByteArray& bytes);

struct DamagedFile {
  const char* name;
  QByteArray bytes;
  const char* says = nullptr;  // a part of the refusal's text, when it must say why
};

// Writes each damaged file at path in turn; reading it must throw DbError
// with a text (holding `says` when given).
void ExpectDamagedFilesFail(const std::vector<DamagedFile>& files, const QString& path,
                            const std::function<void()>& read);

}  // namespace pv::testing
