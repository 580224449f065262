#include "document/labtexts.h"

#include "platform/cp1252.h"

#include <algorithm>

namespace pv {

namespace {

// A question names this many texts at most; the rest are counted.
constexpr qsizetype kMostNamed = 12;

}  // namespace

QList<LostText> TextsTheFileCannotHold(const LabFileContent& content) {
  QList<LostText> lost;
  const auto check = [&](const QString& text, bool font) {
    const QString stored = FromAnsi(ToAnsi(text));
    if (stored == text) return;
    const LostText entry{font, text, stored};
    if (!lost.contains(entry)) lost.append(entry);
  };
  const LabelHeader& h = content.Header;
  for (const QString* text :
       {&h.LabelFormatCode, &h.Text2, &h.Text3, &h.Text4, &h.Text5, &content.BackgroundName, &content.BorderName}) {
    check(*text, false);
  }
  const std::int32_t count = std::clamp<std::int32_t>(content.Block.Count, 0, MaxObjects);
  for (std::int32_t i = 1; i <= count; ++i) {
    const ObjectRecord& r = content.Block.Objects[static_cast<std::size_t>(i)];
    check(r.Content, false);
    check(r.FontName, true);
    check(r.FormatText, false);
  }
  return lost;
}

QString LostTextsQuestion(const QList<LostText>& lost) {
  QString list;
  for (qsizetype i = 0; i < lost.size() && i < kMostNamed; ++i) {
    const LostText& t = lost[i];
    list += QStringLiteral("\n%1«%2» → «%3»")
                .arg(t.font ? QStringLiteral("carattere ") : QStringLiteral("testo "), t.text, t.stored);
  }
  if (lost.size() > kMostNamed) list += QStringLiteral("\ne altri %1.").arg(lost.size() - kMostNamed);
  return QStringLiteral(
             "Il file dell'etichetta non può contenere alcuni caratteri di questi testi: al loro posto "
             "verrebbe salvato \"?\".\n%1\n\nSalvare comunque? Con \"No\" l'etichetta non viene salvata e i "
             "testi restano come sono, per poterli cambiare.")
      .arg(list);
}

}  // namespace pv
