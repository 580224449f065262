#include "clientvalues.h"

#include "platform/exactdecimal.h"

#include <QDate>
#include <QDateTime>
#include <QTime>

namespace pv::test {

std::string Shown(const QVariant& value) {
  if (!value.isValid()) return "NULL";
  QString text = value.toString();
  if (value.metaType().id() == QMetaType::QDateTime)
    text =
        value.toDateTime().toString(Qt::ISODateWithMs) + QStringLiteral(" spec %1").arg(value.toDateTime().timeSpec());
  if (text.size() > 80) text = text.left(80) + QStringLiteral("… (%1 characters)").arg(text.size());
  return QStringLiteral("%1(%2)").arg(QString::fromLatin1(value.typeName()), text).toStdString();
}

::testing::AssertionResult SameAsClient(const QVariant& read, const ClientValue& printed) {
  bool same = false;
  if (!printed || !read.isValid()) {
    same = !printed && !read.isValid();
  } else {
    const QString& text = *printed;
    switch (read.metaType().id()) {
      case QMetaType::QString: same = read.toString() == text; break;
      case QMetaType::LongLong:
      case QMetaType::Int: same = QString::number(read.toLongLong()) == text; break;
      case QMetaType::Double: {
        bool ok = false;
        const double value = text.toDouble(&ok);
        same = ok && value == read.toDouble();
        break;
      }
      case QMetaType::Bool:
        same = (read.toBool() ? QStringList{QStringLiteral("t"), QStringLiteral("1")}
                              : QStringList{QStringLiteral("f"), QStringLiteral("0")})
                   .contains(text);
        break;
      case QMetaType::QDate: same = read.toDate() == QDate::fromString(text, Qt::ISODate); break;
      case QMetaType::QDateTime: {
        // Field by field: no time zone may come into it.
        const QDateTime stamp = read.toDateTime();
        same = stamp.timeSpec() == Qt::UTC && stamp.date() == QDate::fromString(text.left(10), Qt::ISODate) &&
               stamp.time() == QTime::fromString(text.mid(11), Qt::ISODateWithMs);
        break;
      }
      default:
        // An exact decimal: the same number as the client's digits, digit
        // for digit ("-15" is the client's "-15.00").
        if (const ExactDecimal* decimal = AsExactDecimal(read)) {
          const auto client = ExactDecimal::FromText(text);
          same = client && *client == *decimal;
        }
        break;
    }
  }
  if (same) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "read " << Shown(read) << ", the client prints "
                                       << (printed ? "\"" + printed->left(80).toStdString() + "\"" : "NULL");
}

}  // namespace pv::test
