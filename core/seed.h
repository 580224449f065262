#pragma once
// The schema of the program database and the rows it is delivered with.

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

namespace pv {

struct SeedTable {
  QString table;
  QStringList columns;
  QList<QVariantList> rows;
};

// CREATE statements of every table, in order.
QStringList ProgramDatabaseSchema();
// The delivered rows: the product's own print formats for common A4 label
// sheets, the standard field formatting codes, the sample address list's
// built-in registration and the clip-art categories
// (folder "clip" + code under the clip-art root).
QList<SeedTable> ProgramDatabaseSeed();

// The first of the delivered print formats: the label a first start begins
// with.
struct DeliveredLabel {
  QString code;
  double width = 0;
  double height = 0;
};
DeliveredLabel FirstDeliveredFormat();

}  // namespace pv
