#pragma once
// One statement on the program database with its values bound in order.
// Throws DbError when the database is not open or the statement fails.

#include <QSqlQuery>
#include <QString>
#include <QVariantList>

namespace pv {

QSqlQuery RunProgramQuery(const QString& sql, const QVariantList& values);

}  // namespace pv
