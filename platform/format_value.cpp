// What Format() makes of a value: its kind, numbers and dates read from
// text, and the plain text of each kind.
#include "platform/format_internal.h"

#include "platform/exactdecimal.h"

#include <QRegularExpression>

#include <cmath>
#include <limits>

namespace pv::fmt {

namespace {

Value NumberValue(const Decimal& d, double real, bool exact) {
  Value v;
  v.kind = Value::Number;
  v.number = d;
  v.real = real;
  v.exact = exact;
  return v;
}

// A date is formatted only when Qt can spell it as a day of the calendar and
// a time of day. A QDate holds some two billion years either way, a
// QDateTime only about 290 million: a QDate further out makes a QDateTime
// that is invalid, whose date has day, month and weekday 0. Such a date
// formats as an invalid date does, as Null: empty text, or the Null section
// of a number pattern.
Value DateValue(const QDateTime& date) {
  if (!date.isValid() || !date.date().isValid() || !date.time().isValid()) return {};
  Value v;
  v.kind = Value::Date;
  v.date = date;
  return v;
}

Value TextValue(const QString& text) {
  Value v;
  v.kind = Value::Text;
  v.text = text;
  return v;
}

int Capture(const QRegularExpressionMatch& m, int n) { return m.captured(n).isEmpty() ? 0 : m.captured(n).toInt(); }

std::optional<QDateTime> Assemble(int year, int month, int day, int hour, int minute, int second) {
  const QDate date(year, month, day);
  const QTime time(hour, minute, second);
  if (!date.isValid() || !time.isValid()) return std::nullopt;
  return QDateTime(date, time, Qt::UTC);
}

}  // namespace

Value Classify(const QVariant& v, const FormatConventions& c) {
  if (!v.isValid() || v.isNull()) return {};
  switch (v.typeId()) {
    case QMetaType::Bool: {
      const bool b = v.toBool();
      Value out = NumberValue(DecimalFromInteger(b ? -1 : 0), b ? -1.0 : 0.0, true);
      out.boolean = true;
      out.text = b ? c.trueText : c.falseText;
      return out;
    }
    case QMetaType::Int:
    case QMetaType::Short:
    case QMetaType::Long:
    case QMetaType::LongLong:
    case QMetaType::SChar:
    case QMetaType::Char:
    case QMetaType::UInt:
    case QMetaType::UShort:
    case QMetaType::ULong:
    case QMetaType::UChar: {
      const qint64 i = v.toLongLong();
      return NumberValue(DecimalFromInteger(i), static_cast<double>(i), true);
    }
    case QMetaType::ULongLong: {
      const qulonglong u = v.toULongLong();
      if (u <= static_cast<qulonglong>(std::numeric_limits<qint64>::max())) {
        return NumberValue(DecimalFromInteger(static_cast<qint64>(u)), static_cast<double>(u), true);
      }
      return NumberValue(DecimalFromDouble(static_cast<double>(u)), static_cast<double>(u), false);
    }
    case QMetaType::Float:
    case QMetaType::Double: {
      const double d = v.toDouble();
      if (!std::isfinite(d)) return TextValue(QString::number(d));
      return NumberValue(DecimalFromDouble(d, v.typeId() == QMetaType::Float ? 7 : 15), d, false);
    }
    case QMetaType::QDate: {
      const QDate d = v.toDate();
      if (!d.isValid()) return {};
      return DateValue(QDateTime(d, QTime(0, 0), Qt::UTC));
    }
    case QMetaType::QTime: {
      const QTime t = v.toTime();
      if (!t.isValid()) return {};
      return DateValue(QDateTime(SerialEpoch(), t, Qt::UTC));
    }
    case QMetaType::QDateTime: return DateValue(v.toDateTime());
    default:
      if (const ExactDecimal* d = AsExactDecimal(v))
        return NumberValue(DecimalFromExact(d->Text()), d->ToDouble(), true);
      if (v.canConvert<QString>()) return TextValue(v.toString());
      return {};
  }
}

namespace {

// A text that is a number, in the C form ("1.234,5" becomes "1234.5"), or
// empty.
std::optional<QString> NumberText(const QString& text) {
  QString t = text.trimmed();
  // A comma makes the text Italian: points group thousands, the comma is the
  // decimal separator. Without one, a point is the decimal point.
  if (t.contains(u',')) {
    t.remove(u'.');
    t.replace(u',', u'.');
  }
  static const QRegularExpression number(QStringLiteral("^[+-]?(\\d+\\.?\\d*|\\.\\d+)([eE][+-]?\\d+)?$"));
  if (!number.match(t).hasMatch()) return std::nullopt;
  return t;
}

}  // namespace

std::optional<double> NumberFromText(const QString& text) {
  const auto t = NumberText(text);
  if (!t) return std::nullopt;
  bool ok = false;
  const double v = t->toDouble(&ok);
  if (!ok || !std::isfinite(v)) return std::nullopt;
  return v;
}

std::optional<Decimal> ExactNumberFromText(const QString& text) {
  const auto t = NumberText(text);
  if (!t) return std::nullopt;
  // A number written with an exponent is a double's.
  if (!t->contains(u'e', Qt::CaseInsensitive)) {
    if (const auto exact = ExactDecimal::FromText(*t)) return DecimalFromExact(exact->Text());
  }
  if (const auto number = NumberFromText(text)) return DecimalFromDouble(*number);
  return std::nullopt;
}

std::optional<QDateTime> DateFromText(const QString& text) {
  static const QRegularExpression italian(
      QStringLiteral("^(\\d{1,2})/(\\d{1,2})/(\\d{4}|\\d{2})(?:[ T]+(\\d{1,2})[:.](\\d{2})(?:[:.](\\d{2}))?)?$"));
  static const QRegularExpression iso(
      QStringLiteral("^(\\d{4})-(\\d{1,2})-(\\d{1,2})(?:[ T]+(\\d{1,2}):(\\d{2})(?::(\\d{2}))?)?$"));
  static const QRegularExpression time(QStringLiteral("^(\\d{1,2})[:.](\\d{2})(?:[:.](\\d{2}))?$"));
  const QString t = text.trimmed();
  if (const auto m = italian.match(t); m.hasMatch()) {
    int year = m.captured(3).toInt();
    if (m.captured(3).size() == 2) year += year < 30 ? 2000 : 1900;
    return Assemble(year, Capture(m, 2), Capture(m, 1), Capture(m, 4), Capture(m, 5), Capture(m, 6));
  }
  if (const auto m = iso.match(t); m.hasMatch()) {
    return Assemble(Capture(m, 1), Capture(m, 2), Capture(m, 3), Capture(m, 4), Capture(m, 5), Capture(m, 6));
  }
  if (const auto m = time.match(t); m.hasMatch()) {
    const QDate epoch = SerialEpoch();
    return Assemble(epoch.year(), epoch.month(), epoch.day(), Capture(m, 1), Capture(m, 2), Capture(m, 3));
  }
  return std::nullopt;
}

QString GeneralNumber(const Decimal& d, bool exact, const FormatConventions& c) {
  if (d.IsZero()) return QStringLiteral("0");
  const int e = d.exponent;
  const int n = static_cast<int>(d.digits.size());
  QString out;
  if (d.negative) out += QLatin1Char('-');
  if (exact || (e >= -3 && e <= 15)) {
    if (e > 0) {
      out += QLatin1String(d.digits.data(), std::min(e, n));
      if (e > n) out += QString(e - n, u'0');
    } else {
      out += QLatin1Char('0');
    }
    if (n > e) {
      out += c.decimalSeparator;
      if (e < 0) out += QString(-e, u'0');
      const int from = std::max(e, 0);
      out += QLatin1String(d.digits.data() + from, n - from);
    }
    return out;
  }
  out += QLatin1Char(d.digits[0]);
  if (n > 1) {
    out += c.decimalSeparator;
    out += QLatin1String(d.digits.data() + 1, n - 1);
  }
  const int exponent = e - 1;
  out += exponent < 0 ? QStringLiteral("E-") : QStringLiteral("E+");
  out += QString::number(std::abs(exponent)).rightJustified(2, u'0');
  return out;
}

QString GeneralText(const Value& v, const FormatConventions& c) {
  switch (v.kind) {
    case Value::Null: return {};
    case Value::Number: return v.boolean ? v.text : GeneralNumber(v.number, v.exact, c);
    case Value::Date: return GeneralDate(v.date, c);
    case Value::Text: return v.text;
  }
  return {};
}

}  // namespace pv::fmt
