#include "platform/format.h"

#include "platform/format_internal.h"

#include <mutex>
#include <unordered_map>

namespace pv {

namespace fmt {

bool ReadQuoted(const QString& pattern, qsizetype& i, QString* out) {
  const qsizetype n = pattern.size();
  if (pattern[i] == u'\\') {
    if (i + 1 < n) *out += pattern[i + 1];
    i = std::min(i + 2, n);
    return true;
  }
  if (pattern[i] == u'"') {
    qsizetype close = pattern.indexOf(u'"', i + 1);
    if (close < 0) close = n;
    *out += pattern.mid(i + 1, close - i - 1);
    i = std::min(close + 1, n);
    return true;
  }
  return false;
}

std::vector<QString> SplitSections(const QString& pattern) {
  std::vector<QString> sections;
  qsizetype start = 0;
  qsizetype i = 0;
  QString ignored;
  while (i < pattern.size()) {
    if (ReadQuoted(pattern, i, &ignored)) continue;
    if (pattern[i] == u';') {
      sections.push_back(pattern.mid(start, i - start));
      start = i + 1;
    }
    ++i;
  }
  sections.push_back(pattern.mid(start));
  return sections;
}

}  // namespace fmt

namespace {

using namespace fmt;

enum class Kind { General, GeneralNumber, Number, Date, Text };

QString Quoted(const QString& word) { return QLatin1Char('"') + word + QLatin1Char('"'); }

QString BooleanPattern(const QString& yes, const QString& no) {
  return Quoted(yes) + QLatin1Char(';') + Quoted(yes) + QLatin1Char(';') + Quoted(no);
}

// The pattern behind a named format; empty when the text is no name.
QString NamedPattern(const QString& name, const FormatConventions& c, Kind* kind) {
  struct Named {
    const char* name;
    Kind kind;
    QString pattern;
  };
  const Named named[] = {
      {"General Number", Kind::GeneralNumber, {}},
      {"Currency", Kind::Number, c.currency},
      {"Fixed", Kind::Number, QStringLiteral("0.00")},
      {"Standard", Kind::Number, QStringLiteral("#,##0.00")},
      {"Percent", Kind::Number, QStringLiteral("0.00%")},
      {"Scientific", Kind::Number, QStringLiteral("0.00E+00")},
      {"Yes/No", Kind::Number, BooleanPattern(c.yes, c.no)},
      {"True/False", Kind::Number, BooleanPattern(c.trueText, c.falseText)},
      {"On/Off", Kind::Number, BooleanPattern(c.on, c.off)},
      {"General Date", Kind::Date, QStringLiteral("c")},
      {"Long Date", Kind::Date, c.longDate},
      {"Medium Date", Kind::Date, c.mediumDate},
      {"Short Date", Kind::Date, c.shortDate},
      {"Long Time", Kind::Date, c.longTime},
      {"Medium Time", Kind::Date, c.mediumTime},
      {"Short Time", Kind::Date, c.shortTime},
  };
  for (const Named& n : named) {
    if (name.compare(QLatin1String(n.name), Qt::CaseInsensitive) == 0) {
      *kind = n.kind;
      return n.kind == Kind::GeneralNumber ? QStringLiteral("General Number") : n.pattern;
    }
  }
  return {};
}

// Digit placeholders make a number pattern; otherwise text placeholders a
// text pattern; otherwise date letters a date pattern. A pattern of literals
// only works as a number pattern.
Kind KindOf(const QString& pattern) {
  bool number = false, text = false, date = false;
  QString ignored;
  qsizetype i = 0;
  while (i < pattern.size()) {
    if (ReadQuoted(pattern, i, &ignored)) continue;
    const QChar ch = pattern[i];
    const char16_t lower = ch.toLower().unicode();
    if (ch == u'0' || ch == u'#' || ch == u'%') {
      number = true;
    } else if (lower == u'e' && i + 1 < pattern.size() && (pattern[i + 1] == u'+' || pattern[i + 1] == u'-')) {
      number = true;
    } else if (ch == u'@' || ch == u'&' || ch == u'<' || ch == u'>' || ch == u'!') {
      text = true;
    } else if (QStringView(u"dmyhnswqc").contains(QChar(lower))) {
      date = true;
    } else if (lower == u't' && pattern.mid(i, 5).compare(QLatin1String("ttttt"), Qt::CaseInsensitive) == 0) {
      date = true;
    } else if (lower == u'a' && (pattern.mid(i, 5).compare(QLatin1String("am/pm"), Qt::CaseInsensitive) == 0 ||
                                 pattern.mid(i, 3).compare(QLatin1String("a/p"), Qt::CaseInsensitive) == 0)) {
      date = true;
    }
    ++i;
  }
  if (number) return Kind::Number;
  if (text) return Kind::Text;
  if (date) return Kind::Date;
  return Kind::Number;
}

}  // namespace

struct CompiledFormat::Parts {
  Kind kind = Kind::General;
  std::vector<NumberSection> numbers;  // positive; negative; zero; Null
  DateSection date;
  std::vector<TextSection> texts;  // text; Null and empty text
};

CompiledFormat::CompiledFormat(const QString& pattern) : m_pattern(pattern) {
  const FormatConventions& c = FormatConventions::Italian();
  auto parts = std::make_unique<Parts>();
  if (!pattern.isEmpty()) {
    Kind kind = Kind::General;
    QString effective = NamedPattern(pattern, c, &kind);
    if (effective.isEmpty()) {
      effective = pattern;
      kind = KindOf(pattern);
    }
    parts->kind = kind;
    std::vector<QString> sections = SplitSections(effective);
    switch (kind) {
      case Kind::Number:
        if (sections.size() > 4) sections.resize(4);
        for (const QString& s : sections) parts->numbers.push_back(CompileNumberSection(s));
        break;
      case Kind::Date: parts->date = CompileDateSection(sections.front(), c); break;
      case Kind::Text:
        if (sections.size() > 2) sections.resize(2);
        for (const QString& s : sections) parts->texts.push_back(CompileTextSection(s));
        break;
      case Kind::General:
      case Kind::GeneralNumber: break;
    }
  }
  m_parts = std::move(parts);
}

CompiledFormat::~CompiledFormat() = default;

std::shared_ptr<const CompiledFormat> CompiledFormat::Of(const QString& pattern) {
  // Patterns come from the labels' fields: a few dozen in a run. The bound
  // only keeps a pathological caller from growing the cache without end.
  constexpr std::size_t kMaxCached = 4096;
  static std::mutex mutex;
  static std::unordered_map<QString, std::shared_ptr<const CompiledFormat>> cache;
  const std::lock_guard lock(mutex);
  if (auto it = cache.find(pattern); it != cache.end()) return it->second;
  if (cache.size() >= kMaxCached) cache.clear();
  auto compiled = std::make_shared<const CompiledFormat>(pattern);
  cache.emplace(pattern, compiled);
  return compiled;
}

QString CompiledFormat::Apply(const QVariant& value) const {
  const FormatConventions& c = FormatConventions::Italian();
  const Parts& p = *m_parts;
  Value v = Classify(value, c);

  switch (p.kind) {
    case Kind::General: return GeneralText(v, c);

    case Kind::GeneralNumber:
      if (v.kind == Value::Date) return GeneralNumber(DecimalFromDouble(SerialFromDateTime(v.date)), false, c);
      if (v.kind == Value::Text) {
        const auto number = ExactNumberFromText(v.text);
        return number ? GeneralNumber(*number, !v.text.contains(u'e', Qt::CaseInsensitive), c) : v.text;
      }
      return v.kind == Value::Number ? GeneralNumber(v.number, v.exact, c) : QString();

    case Kind::Number: {
      Decimal d;
      switch (v.kind) {
        case Value::Null: {
          if (p.numbers.size() < 4) return {};
          bool shown = false;
          return RenderNumber(p.numbers[3], Decimal{}, c, &shown);
        }
        case Value::Text: {
          const auto number = ExactNumberFromText(v.text);
          if (!number) return v.text;
          d = *number;
          break;
        }
        case Value::Date: d = DecimalFromDouble(SerialFromDateTime(v.date)); break;
        case Value::Number: d = v.number; break;
      }
      const bool negative = d.negative && !d.IsZero();
      std::size_t section = 0;
      if (d.IsZero() && p.numbers.size() >= 3 && !p.numbers[2].empty) {
        section = 2;
      } else if (negative && p.numbers.size() >= 2 && !p.numbers[1].empty) {
        section = 1;
      }
      bool shown = false;
      QString out = RenderNumber(p.numbers[section], d, c, &shown);
      // The first section alone writes negative numbers with a minus sign,
      // unless nothing but zeros is left after rounding.
      if (section == 0 && negative && shown) out.prepend(QLatin1Char('-'));
      return out;
    }

    case Kind::Date: {
      std::optional<QDateTime> date;
      switch (v.kind) {
        case Value::Null: return {};
        case Value::Date: date = v.date; break;
        case Value::Number: date = DateTimeFromSerial(v.real); break;
        case Value::Text:
          date = DateFromText(v.text);
          if (!date) {
            if (const auto number = NumberFromText(v.text)) date = DateTimeFromSerial(*number);
          }
          break;
      }
      if (!date) return GeneralText(v, c);
      return RenderDate(p.date, *date, c);
    }

    case Kind::Text: {
      // The second section, when there is one, takes Null and empty text.
      if (v.kind == Value::Null && p.texts.size() < 2) return {};
      const QString text = GeneralText(v, c);
      return RenderText(p.texts[text.isEmpty() && p.texts.size() >= 2 ? 1 : 0], text);
    }
  }
  return {};
}

QString Format(const QVariant& value, const QString& pattern) {
  if (pattern.isEmpty()) {
    const FormatConventions& c = FormatConventions::Italian();
    return fmt::GeneralText(fmt::Classify(value, c), c);
  }
  return CompiledFormat::Of(pattern)->Apply(value);
}

}  // namespace pv
