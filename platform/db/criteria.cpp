#include "platform/db/criteria.h"

#include "platform/db/dberror.h"
#include "platform/db/likepattern.h"
#include "platform/db/sortcollation.h"
#include "platform/exactdecimal.h"
#include "platform/runtime.h"

#include <QRegularExpression>

#include <algorithm>
#include <cmath>
#include <optional>

namespace pv {

namespace {

enum class Op { Eq, Ne, Lt, Le, Gt, Ge, Like, IsNull, IsNotNull };
enum class LitKind { Number, Text, Date, Null };

struct Literal {
  LitKind kind = LitKind::Null;
  double number = 0;
  std::optional<ExactDecimal> exact;  // a number written out (TRUE and FALSE too)
  std::optional<qint64> integer;      // ... when it is a whole number of 64 bits
  QString text;                       // the text as written (numbers too)
  QDateTime date;
  LikePattern like;
};

// Booleans compare as the numbers -1 and 0.
bool IsNumberType(const QVariant& v) {
  const int id = v.metaType().id();
  return id == QMetaType::Bool || IsNumericMetaType(id) || id == ExactDecimal::MetaTypeId();
}

bool IsIntegerType(int id) {
  return id == QMetaType::LongLong || id == QMetaType::Int || id == QMetaType::Short || id == QMetaType::Long ||
         id == QMetaType::UInt || id == QMetaType::UShort || id == QMetaType::Char || id == QMetaType::SChar ||
         id == QMetaType::UChar;
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

// A Boolean is a number: True is -1, False 0, as the stored values are.
double NumberValue(const QVariant& v) {
  if (v.metaType().id() == QMetaType::Bool) return v.toBool() ? -1.0 : 0.0;
  return v.toDouble();
}

// A number's exact value where one is kept: integers, exact decimals and
// text that is a number. Doubles and Booleans compare as doubles.
std::optional<ExactDecimal> ExactOf(const QVariant& v) {
  const int id = v.metaType().id();
  if (IsIntegerType(id)) return ExactDecimal::FromScaled(v.toLongLong(), 0);
  if (id == QMetaType::ULongLong) return ExactDecimal::FromText(v.toString());
  if (const ExactDecimal* d = AsExactDecimal(v)) return *d;
  if (id == QMetaType::QString && StrictNumber(v.toString())) return ExactDecimal::FromText(v.toString());
  return std::nullopt;
}

// A value against a number literal by their exact values where both keep
// one; nothing when either is only a double.
std::optional<int> CompareExactly(const QVariant& value, const Literal& lit) {
  if (!lit.exact) return std::nullopt;
  if (lit.integer && value.metaType().id() == QMetaType::LongLong) {
    const qint64 v = *static_cast<const qint64*>(value.constData());
    return v < *lit.integer ? -1 : (v > *lit.integer ? 1 : 0);
  }
  const auto e = ExactOf(value);
  if (!e) return std::nullopt;
  return ExactDecimal::Compare(*e, *lit.exact);
}

// A number literal's exact forms, from the text it is written with.
void SetExact(Literal& lit) {
  lit.exact = ExactDecimal::FromText(lit.text);
  if (lit.exact) lit.integer = lit.exact->ToInt64();
}

std::optional<double> NumberOf(const QVariant& v) {
  if (IsNumberType(v)) return NumberValue(v);
  if (v.metaType().id() == QMetaType::QString) return StrictNumber(v.toString());
  return std::nullopt;
}

// Dates and times are wall-clock times (the UTC spec, as the data sources
// read them): a literal is the same, so no zone comes between them.
QDateTime Wall(const QDateTime& dt) { return QDateTime(dt.date(), dt.time(), Qt::UTC); }

std::optional<QDateTime> DateOf(const QVariant& v) {
  if (v.metaType().id() == QMetaType::QDateTime) return Wall(v.toDateTime());
  if (v.metaType().id() == QMetaType::QDate) return v.toDate().startOfDay(Qt::UTC);
  const QString s = v.toString().trimmed();
  if (s.isEmpty()) return std::nullopt;
  static const char* const formats[] = {"yyyy-MM-dd HH:mm:ss", "yyyy-MM-ddTHH:mm:ss", "yyyy-MM-dd",
                                        "MM/dd/yyyy HH:mm:ss", "MM/dd/yyyy HH:mm",    "MM/dd/yyyy",
                                        "M/d/yyyy H:mm:ss",    "M/d/yyyy H:mm",       "M/d/yyyy"};
  for (const char* f : formats) {
    const QDateTime dt = QDateTime::fromString(s, QString::fromLatin1(f));
    if (dt.isValid()) return Wall(dt);
  }
  const QDateTime iso = QDateTime::fromString(s, Qt::ISODate);
  if (iso.isValid()) return Wall(iso);
  return std::nullopt;
}

[[noreturn]] void Bad(const QString& why) {
  throw DbError(DbErrArguments,
                QStringLiteral("Argomenti di tipo errato, fuori dall'intervallo consentito o in conflitto: ") + why);
}

int Sign(double d) { return d < 0 ? -1 : (d > 0 ? 1 : 0); }

}  // namespace

// A node is a comparison or a run of AND or OR terms. Runs are flat, so a long
// chain of terms costs no depth; only parentheses nest, and their depth is
// bounded by the parser.
struct Criteria::Node {
  enum class Kind { And, Or, Compare } kind = Kind::Compare;
  std::vector<std::unique_ptr<Node>> terms;
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
  if (op == Op::Like) return lit.like.Matches(value.toString());
  switch (lit.kind) {
    case LitKind::Number: {
      if (const auto c = CompareExactly(value, lit)) return CompareResult(op, *c);
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
        if (const auto n = StrictNumber(lit.text)) {
          Literal number;
          number.text = lit.text.trimmed();
          SetExact(number);
          if (const auto c = CompareExactly(value, number)) return CompareResult(op, *c);
          return CompareResult(op, Sign(NumberValue(value) - *n));
        }
      }
      if (IsDateType(value)) {
        const auto d = DateOf(QVariant(lit.text));
        const auto v = DateOf(value);
        if (d && v) return CompareResult(op, *v < *d ? -1 : (*v > *d ? 1 : 0));
      }
      return CompareResult(op, value.toString().compare(lit.text, Qt::CaseInsensitive));
    }
    case LitKind::Null: break;
  }
  return false;
}

}  // namespace

bool Criteria::Node::Eval(const std::vector<QVariant>& row) const {
  switch (kind) {
    case Kind::And: return std::all_of(terms.cbegin(), terms.cend(), [&](const auto& t) { return t->Eval(row); });
    case Kind::Or: return std::any_of(terms.cbegin(), terms.cend(), [&](const auto& t) { return t->Eval(row); });
    case Kind::Compare:
      return EvalCompare(
          field >= 0 && field < static_cast<int>(row.size()) ? row[static_cast<size_t>(field)] : QVariant(), op, lit);
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

  std::unique_ptr<Criteria::Node> ParseOr() { return ParseRun(Criteria::Node::Kind::Or, "OR"); }
  std::unique_ptr<Criteria::Node> ParseAnd() { return ParseRun(Criteria::Node::Kind::And, "AND"); }

  // Terms joined by one keyword: a single term stands for itself.
  std::unique_ptr<Criteria::Node> ParseRun(Criteria::Node::Kind kind, const char* keyword) {
    auto first = kind == Criteria::Node::Kind::Or ? ParseAnd() : ParsePrimary();
    if (!Keyword(keyword)) return first;
    auto run = std::make_unique<Criteria::Node>();
    run->kind = kind;
    run->terms.push_back(std::move(first));
    do {
      run->terms.push_back(kind == Criteria::Node::Kind::Or ? ParseAnd() : ParsePrimary());
    } while (Keyword(keyword));
    return run;
  }

  std::unique_ptr<Criteria::Node> ParsePrimary() {
    SkipBlanks();
    if (m_i < m_s.size() && m_s[m_i] == QLatin1Char('(')) {
      if (++m_depth > kMaxDepth) Bad(QStringLiteral("troppe parentesi annidate"));
      ++m_i;
      auto n = ParseOr();
      SkipBlanks();
      if (m_i >= m_s.size() || m_s[m_i] != QLatin1Char(')')) Bad(QStringLiteral("manca \")\""));
      ++m_i;
      --m_depth;
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
      n->lit.like = LikePattern(n->lit.text);
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
    if (rest == QLatin1String("<>")) {
      m_i += 2;
      return Op::Ne;
    }
    if (rest == QLatin1String("<=")) {
      m_i += 2;
      return Op::Le;
    }
    if (rest == QLatin1String(">=")) {
      m_i += 2;
      return Op::Ge;
    }
    if (rest.startsWith(QLatin1Char('<'))) {
      m_i += 1;
      return Op::Lt;
    }
    if (rest.startsWith(QLatin1Char('>'))) {
      m_i += 1;
      return Op::Gt;
    }
    if (rest.startsWith(QLatin1Char('='))) {
      m_i += 1;
      return Op::Eq;
    }
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
    for (const auto& [word, value] : {std::pair{"TRUE", -1.0}, std::pair{"FALSE", 0.0}}) {
      if (Keyword(word)) {  // the stored values of a Boolean
        lit.kind = LitKind::Number;
        lit.number = value;
        lit.text = QString::number(value);
        SetExact(lit);
        return lit;
      }
    }
    const qsizetype end = NumberEnd(m_i);
    if (end < 0) Bad(QStringLiteral("valore non valido"));
    if (end < m_s.size() &&
        (m_s[end].isLetterOrNumber() || m_s[end] == QLatin1Char('.') || m_s[end] == QLatin1Char(','))) {
      Bad(QStringLiteral("numero non valido"));
    }
    lit.kind = LitKind::Number;
    lit.text = m_s.mid(m_i, end - m_i);
    lit.number = lit.text.toDouble();
    SetExact(lit);
    m_i = end;
    return lit;
  }

  // The end of a number written from `i` on ([+-] digits [. digits] [e[+-]digits]),
  // or -1 when none starts there. Looks at the number's own characters only.
  qsizetype NumberEnd(qsizetype i) const {
    const auto digit = [&](qsizetype k) {
      return k < m_s.size() && m_s[k] >= QLatin1Char('0') && m_s[k] <= QLatin1Char('9');
    };
    if (i < m_s.size() && (m_s[i] == QLatin1Char('+') || m_s[i] == QLatin1Char('-'))) ++i;
    const qsizetype intStart = i;
    while (digit(i)) ++i;
    const bool hasInt = i > intStart;
    bool hasFrac = false;
    if (i < m_s.size() && m_s[i] == QLatin1Char('.')) {
      qsizetype k = i + 1;
      while (digit(k)) ++k;
      hasFrac = k > i + 1;
      if (!hasInt && !hasFrac) return -1;
      i = k;
    }
    if (!hasInt && !hasFrac) return -1;
    if (i < m_s.size() && (m_s[i] == QLatin1Char('e') || m_s[i] == QLatin1Char('E'))) {
      qsizetype k = i + 1;
      if (k < m_s.size() && (m_s[k] == QLatin1Char('+') || m_s[k] == QLatin1Char('-'))) ++k;
      if (digit(k)) {
        while (digit(k)) ++k;
        i = k;
      }
    }
    return i;
  }

  // Deeper nesting than any hand-written filter needs is refused, so that
  // parsing and evaluating never run out of stack.
  static constexpr int kMaxDepth = 100;

  QString m_s;
  qsizetype m_i = 0;
  const QStringList& m_fields;
  int m_depth = 0;
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
  std::vector<bool> read(static_cast<size_t>(fieldNames.size()), false);
  std::vector<const Node*> stack{c.m_root.get()};
  while (!stack.empty()) {
    const Node* n = stack.back();
    stack.pop_back();
    if (n->kind == Node::Kind::Compare) read[static_cast<size_t>(n->field)] = true;
    for (const auto& t : n->terms) stack.push_back(t.get());
  }
  for (size_t i = 0; i < read.size(); ++i) {
    if (read[i]) c.m_fields.push_back(static_cast<int>(i));
  }
  return c;
}

bool Criteria::Matches(const std::vector<QVariant>& row) const { return m_root == nullptr || m_root->Eval(row); }

std::vector<SortKey> ParseSort(const QString& text, const QStringList& fieldNames) {
  std::vector<SortKey> keys;
  std::vector<bool> seen(static_cast<size_t>(fieldNames.size()), false);
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
    // Rows a key leaves tied agree on its field: the same field again,
    // either way, orders nothing.
    if (seen[static_cast<size_t>(key.field)]) continue;
    seen[static_cast<size_t>(key.field)] = true;
    keys.push_back(key);
  }
  return keys;
}

int CompareValues(const QVariant& a, const QVariant& b) {
  const bool an = a.isNull() || !a.isValid();
  const bool bn = b.isNull() || !b.isValid();
  if (an || bn) return an == bn ? 0 : (an ? -1 : 1);
  if (IsNumberType(a) && IsNumberType(b)) {
    const auto x = ExactOf(a), y = ExactOf(b);
    if (x && y) return ExactDecimal::Compare(*x, *y);
    return Sign(NumberValue(a) - NumberValue(b));
  }
  if (IsDateType(a) && IsDateType(b)) {
    const QDateTime x = *DateOf(a), y = *DateOf(b);
    return x < y ? -1 : (x > y ? 1 : 0);
  }
  return CompareForSort(a.toString(), b.toString());
}

}  // namespace pv
