#include "platform/db/criteria.h"

#include "platform/db/dberror.h"

#include <QRegularExpression>

#include <cmath>
#include <optional>

namespace pv {

namespace {

enum class Op { Eq, Ne, Lt, Le, Gt, Ge, Like, IsNull, IsNotNull };
enum class LitKind { Number, Text, Date, Null };

struct Literal {
  LitKind kind = LitKind::Null;
  double number = 0;
  QString text;  // the text as written (numbers too)
  QDateTime date;
  QRegularExpression like;
};

bool IsNumberType(const QVariant& v) {
  switch (v.metaType().id()) {
    case QMetaType::Int: case QMetaType::UInt: case QMetaType::LongLong: case QMetaType::ULongLong:
    case QMetaType::Double: case QMetaType::Float: case QMetaType::Short: case QMetaType::UShort:
    case QMetaType::Long: case QMetaType::ULong: case QMetaType::Bool: case QMetaType::Char:
    case QMetaType::SChar: case QMetaType::UChar:
      return true;
    default:
      return false;
  }
}

bool IsDateType(const QVariant& v) {
  const int id = v.metaType().id();
  return id == QMetaType::QDateTime || id == QMetaType::QDate;
}

// A whole text that is a number with "." as decimal point (blanks around it allowed).
std::optional<double> StrictNumber(const QString& text) {
  static const QRegularExpression re(QStringLiteral(R"(^\s*[+-]?(\d+\.?\d*|\.\d+)([eE][+-]?\d+)?\s*$)"));
  if (!re.match(text).hasMatch()) return std::nullopt;
  bool ok = false;
  const double d = text.trimmed().toDouble(&ok);
  if (!ok) return std::nullopt;
  return d;
}

std::optional<double> NumberOf(const QVariant& v) {
  if (IsNumberType(v)) return v.toDouble();
  if (v.metaType().id() == QMetaType::QString) return StrictNumber(v.toString());
  return std::nullopt;
}

std::optional<QDateTime> DateOf(const QVariant& v) {
  if (v.metaType().id() == QMetaType::QDateTime) return v.toDateTime();
  if (v.metaType().id() == QMetaType::QDate) return v.toDate().startOfDay();
  const QString s = v.toString().trimmed();
  if (s.isEmpty()) return std::nullopt;
  static const char* const formats[] = {"yyyy-MM-dd HH:mm:ss", "yyyy-MM-ddTHH:mm:ss", "yyyy-MM-dd",
                                        "MM/dd/yyyy HH:mm:ss", "MM/dd/yyyy HH:mm", "MM/dd/yyyy",
                                        "M/d/yyyy H:mm:ss", "M/d/yyyy H:mm", "M/d/yyyy"};
  for (const char* f : formats) {
    const QDateTime dt = QDateTime::fromString(s, QString::fromLatin1(f));
    if (dt.isValid()) return dt;
  }
  const QDateTime iso = QDateTime::fromString(s, Qt::ISODate);
  if (iso.isValid()) return iso;
  return std::nullopt;
}

[[noreturn]] void Bad(const QString& why) {
  throw DbError(DbErrArguments, QStringLiteral("Argomenti di tipo errato, fuori dall'intervallo consentito o in conflitto: ") + why);
}

int Sign(double d) { return d < 0 ? -1 : (d > 0 ? 1 : 0); }

}  // namespace

struct Criteria::Node {
  enum class Kind { And, Or, Compare } kind = Kind::Compare;
  std::unique_ptr<Node> left, right;
  int field = -1;
  Op op = Op::Eq;
  Literal lit;

  bool Eval(const std::vector<QVariant>& row) const;
};

namespace {

bool CompareResult(Op op, int c) {
  switch (op) {
    case Op::Eq: return c == 0;
    case Op::Ne: return c != 0;
    case Op::Lt: return c < 0;
    case Op::Le: return c <= 0;
    case Op::Gt: return c > 0;
    case Op::Ge: return c >= 0;
    default: return false;
  }
}

bool EvalCompare(const QVariant& value, Op op, const Literal& lit) {
  const bool isNull = value.isNull() || !value.isValid();
  if (op == Op::IsNull) return isNull;
  if (op == Op::IsNotNull) return !isNull;
  if (lit.kind == LitKind::Null) {
    if (op == Op::Eq) return isNull;
    if (op == Op::Ne) return !isNull;
    return false;
  }
  if (isNull) return false;
  if (op == Op::Like) return lit.like.match(value.toString()).hasMatch();
  switch (lit.kind) {
    case LitKind::Number: {
      if (const auto n = NumberOf(value)) return CompareResult(op, Sign(*n - lit.number));
      return CompareResult(op, value.toString().compare(lit.text, Qt::CaseInsensitive));
    }
    case LitKind::Date: {
      const auto d = DateOf(value);
      if (!d) return false;
      return CompareResult(op, *d < lit.date ? -1 : (*d > lit.date ? 1 : 0));
    }
    case LitKind::Text: {
      if (IsNumberType(value)) {
        if (const auto n = StrictNumber(lit.text)) return CompareResult(op, Sign(value.toDouble() - *n));
      }
      if (IsDateType(value)) {
        const auto d = DateOf(QVariant(lit.text));
        const auto v = DateOf(value);
        if (d && v) return CompareResult(op, *v < *d ? -1 : (*v > *d ? 1 : 0));
      }
      return CompareResult(op, value.toString().compare(lit.text, Qt::CaseInsensitive));
    }
    case LitKind::Null:
      break;
  }
  return false;
}

}  // namespace

bool Criteria::Node::Eval(const std::vector<QVariant>& row) const {
  switch (kind) {
    case Kind::And: return left->Eval(row) && right->Eval(row);
    case Kind::Or: return left->Eval(row) || right->Eval(row);
    case Kind::Compare:
      return EvalCompare(field >= 0 && field < static_cast<int>(row.size()) ? row[static_cast<size_t>(field)] : QVariant(), op, lit);
  }
  return false;
}

int FieldIndex(const QStringList& fieldNames, const QString& name) {
  for (int i = 0; i < fieldNames.size(); ++i) {
    if (fieldNames[i].compare(name, Qt::CaseInsensitive) == 0) return i;
  }
  return -1;
}

namespace {

class Parser {
 public:
  Parser(const QString& text, const QStringList& fields) : m_s(text), m_fields(fields) {}

  std::unique_ptr<Criteria::Node> ParseAll() {
    auto n = ParseOr();
    SkipBlanks();
    if (m_i < m_s.size()) Bad(QStringLiteral("testo inatteso \"%1\"").arg(m_s.mid(m_i)));
    return n;
  }

 private:
  void SkipBlanks() {
    while (m_i < m_s.size() && m_s[m_i].isSpace()) ++m_i;
  }
  // A keyword (whole word) at the cursor; consumed when present.
  bool Keyword(const char* word) {
    SkipBlanks();
    const QString w = QString::fromLatin1(word);
    if (m_s.mid(m_i, w.size()).compare(w, Qt::CaseInsensitive) != 0) return false;
    const qsizetype end = m_i + w.size();
    if (end < m_s.size() && (m_s[end].isLetterOrNumber() || m_s[end] == QLatin1Char('_'))) return false;
    m_i = end;
    return true;
  }

  std::unique_ptr<Criteria::Node> ParseOr() {
    auto left = ParseAnd();
    while (Keyword("OR")) {
      auto n = std::make_unique<Criteria::Node>();
      n->kind = Criteria::Node::Kind::Or;
      n->left = std::move(left);
      n->right = ParseAnd();
      left = std::move(n);
    }
    return left;
  }

  std::unique_ptr<Criteria::Node> ParseAnd() {
    auto left = ParsePrimary();
    while (Keyword("AND")) {
      auto n = std::make_unique<Criteria::Node>();
      n->kind = Criteria::Node::Kind::And;
      n->left = std::move(left);
      n->right = ParsePrimary();
      left = std::move(n);
    }
    return left;
  }

  std::unique_ptr<Criteria::Node> ParsePrimary() {
    SkipBlanks();
    if (m_i < m_s.size() && m_s[m_i] == QLatin1Char('(')) {
      ++m_i;
      auto n = ParseOr();
      SkipBlanks();
      if (m_i >= m_s.size() || m_s[m_i] != QLatin1Char(')')) Bad(QStringLiteral("manca \")\""));
      ++m_i;
      return n;
    }
    auto n = std::make_unique<Criteria::Node>();
    const QString name = ParseFieldName();
    n->field = FieldIndex(m_fields, name);
    if (n->field < 0) Bad(QStringLiteral("campo sconosciuto \"%1\"").arg(name));
    if (Keyword("IS")) {
      n->op = Keyword("NOT") ? Op::IsNotNull : Op::IsNull;
      if (!Keyword("NULL")) Bad(QStringLiteral("atteso NULL"));
      return n;
    }
    n->op = ParseOp();
    n->lit = ParseLiteral();
    if (n->op == Op::Like) {
      if (n->lit.kind == LitKind::Null || n->lit.kind == LitKind::Date) Bad(QStringLiteral("LIKE vuole un testo"));
      QString re;
      for (const QChar c : n->lit.text) {
        if (c == QLatin1Char('*') || c == QLatin1Char('%')) re += QStringLiteral(".*");
        else if (c == QLatin1Char('?') || c == QLatin1Char('_')) re += QLatin1Char('.');
        else re += QRegularExpression::escape(QString(c));
      }
      n->lit.like = QRegularExpression(QRegularExpression::anchoredPattern(re),
                                       QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
    } else if (n->lit.kind == LitKind::Null && n->op != Op::Eq && n->op != Op::Ne) {
      Bad(QStringLiteral("NULL si confronta solo con = o <>"));
    }
    return n;
  }

  QString ParseFieldName() {
    SkipBlanks();
    if (m_i < m_s.size() && m_s[m_i] == QLatin1Char('[')) {
      const qsizetype end = m_s.indexOf(QLatin1Char(']'), m_i + 1);
      if (end < 0) Bad(QStringLiteral("manca \"]\""));
      const QString name = m_s.mid(m_i + 1, end - m_i - 1);
      m_i = end + 1;
      return name;
    }
    const qsizetype start = m_i;
    while (m_i < m_s.size() && (m_s[m_i].isLetterOrNumber() || m_s[m_i] == QLatin1Char('_'))) ++m_i;
    if (m_i == start) Bad(QStringLiteral("atteso un nome di campo"));
    return m_s.mid(start, m_i - start);
  }

  Op ParseOp() {
    SkipBlanks();
    const QString rest = m_s.mid(m_i, 2);
    if (rest == QLatin1String("<>")) { m_i += 2; return Op::Ne; }
    if (rest == QLatin1String("<=")) { m_i += 2; return Op::Le; }
    if (rest == QLatin1String(">=")) { m_i += 2; return Op::Ge; }
    if (rest.startsWith(QLatin1Char('<'))) { m_i += 1; return Op::Lt; }
    if (rest.startsWith(QLatin1Char('>'))) { m_i += 1; return Op::Gt; }
    if (rest.startsWith(QLatin1Char('='))) { m_i += 1; return Op::Eq; }
    if (Keyword("LIKE")) return Op::Like;
    Bad(QStringLiteral("atteso un operatore"));
  }

  Literal ParseLiteral() {
    SkipBlanks();
    Literal lit;
    if (m_i >= m_s.size()) Bad(QStringLiteral("atteso un valore"));
    const QChar c = m_s[m_i];
    if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
      ++m_i;
      QString text;
      for (;;) {
        if (m_i >= m_s.size()) Bad(QStringLiteral("testo non chiuso"));
        if (m_s[m_i] == c) {
          if (m_i + 1 < m_s.size() && m_s[m_i + 1] == c) {
            text += c;
            m_i += 2;
            continue;
          }
          ++m_i;
          break;
        }
        text += m_s[m_i++];
      }
      lit.kind = LitKind::Text;
      lit.text = text;
      return lit;
    }
    if (c == QLatin1Char('#')) {
      const qsizetype end = m_s.indexOf(QLatin1Char('#'), m_i + 1);
      if (end < 0) Bad(QStringLiteral("data non chiusa"));
      lit.text = m_s.mid(m_i + 1, end - m_i - 1).trimmed();
      m_i = end + 1;
      const auto d = DateOf(QVariant(lit.text));
      if (!d) Bad(QStringLiteral("data non valida \"%1\"").arg(lit.text));
      lit.kind = LitKind::Date;
      lit.date = *d;
      return lit;
    }
    if (Keyword("NULL")) {
      lit.kind = LitKind::Null;
      return lit;
    }
    static const QRegularExpression num(QStringLiteral(R"([+-]?(\d+\.?\d*|\.\d+)([eE][+-]?\d+)?)"));
    const auto m = num.match(m_s, m_i, QRegularExpression::NormalMatch, QRegularExpression::AnchorAtOffsetMatchOption);
    if (!m.hasMatch()) Bad(QStringLiteral("valore non valido"));
    const qsizetype end = m.capturedEnd();
    if (end < m_s.size() && (m_s[end].isLetterOrNumber() || m_s[end] == QLatin1Char('.') || m_s[end] == QLatin1Char(','))) {
      Bad(QStringLiteral("numero non valido"));
    }
    lit.kind = LitKind::Number;
    lit.text = m.captured(0);
    lit.number = lit.text.toDouble();
    m_i = end;
    return lit;
  }

  QString m_s;
  qsizetype m_i = 0;
  const QStringList& m_fields;
};

}  // namespace

Criteria::Criteria() = default;
Criteria::~Criteria() = default;
Criteria::Criteria(Criteria&&) noexcept = default;
Criteria& Criteria::operator=(Criteria&&) noexcept = default;

Criteria Criteria::Parse(const QString& text, const QStringList& fieldNames) {
  Criteria c;
  if (text.trimmed().isEmpty()) return c;
  c.m_root = Parser(text, fieldNames).ParseAll();
  return c;
}

bool Criteria::Matches(const std::vector<QVariant>& row) const { return m_root == nullptr || m_root->Eval(row); }

std::vector<SortKey> ParseSort(const QString& text, const QStringList& fieldNames) {
  std::vector<SortKey> keys;
  const QStringList clauses = text.split(QLatin1Char(','), Qt::SkipEmptyParts);
  for (const QString& raw : clauses) {
    QString clause = raw.trimmed();
    if (clause.isEmpty()) continue;
    SortKey key;
    static const QRegularExpression dir(QStringLiteral(R"(\s+(ASC|DESC)$)"), QRegularExpression::CaseInsensitiveOption);
    const auto m = dir.match(clause);
    if (m.hasMatch()) {
      key.descending = m.captured(1).compare(QLatin1String("DESC"), Qt::CaseInsensitive) == 0;
      clause = clause.left(m.capturedStart()).trimmed();
    }
    if (clause.startsWith(QLatin1Char('['))) {
      if (!clause.endsWith(QLatin1Char(']'))) Bad(QStringLiteral("ordinamento non valido \"%1\"").arg(raw));
      clause = clause.mid(1, clause.size() - 2);
    }
    key.field = FieldIndex(fieldNames, clause);
    if (key.field < 0) throw DbError(DbErrItemNotFound, QStringLiteral("Elemento non trovato nell'insieme: ") + clause);
    keys.push_back(key);
  }
  return keys;
}

int CompareValues(const QVariant& a, const QVariant& b) {
  const bool an = a.isNull() || !a.isValid();
  const bool bn = b.isNull() || !b.isValid();
  if (an || bn) return an == bn ? 0 : (an ? -1 : 1);
  if (IsNumberType(a) && IsNumberType(b)) return Sign(a.toDouble() - b.toDouble());
  if (IsDateType(a) && IsDateType(b)) {
    const QDateTime x = *DateOf(a), y = *DateOf(b);
    return x < y ? -1 : (x > y ? 1 : 0);
  }
  return a.toString().compare(b.toString(), Qt::CaseInsensitive);
}

}  // namespace pv
