#include "properties/screenfonts.h"

#include "properties/popupeditor.h"

#include <QFont>
#include <QFontDatabase>
#include <QFontInfo>

#include <algorithm>

namespace pv {

const std::vector<MetricAlias>& MetricAliases() {
  static const std::vector<MetricAlias> aliases = {
      {QStringLiteral("Arial"), {QStringLiteral("Liberation Sans"), QStringLiteral("Arimo")}},
      {QStringLiteral("Times New Roman"), {QStringLiteral("Liberation Serif"), QStringLiteral("Tinos")}},
      {QStringLiteral("Courier New"), {QStringLiteral("Liberation Mono"), QStringLiteral("Cousine")}},
  };
  return aliases;
}

QStringList MergeScreenFonts(const QStringList& families, const std::vector<std::pair<QString, QString>>& resolved) {
  QStringList out = families;
  for (const MetricAlias& alias : MetricAliases()) {
    for (const auto& [name, family] : resolved) {
      if (name == alias.name && alias.faces.contains(family, Qt::CaseInsensitive)) out << alias.name;
    }
  }
  std::stable_sort(out.begin(), out.end(), [](const QString& a, const QString& b) {
    const int c = a.compare(b, Qt::CaseInsensitive);
    return c != 0 ? c < 0 : a < b;
  });
  out.erase(std::unique(out.begin(), out.end()), out.end());
  return out;
}

QStringList ScreenFontNames() {
  std::vector<std::pair<QString, QString>> resolved;
  for (const MetricAlias& alias : MetricAliases()) {
    QFont font(alias.name);
    resolved.emplace_back(alias.name, QFontInfo(font).family());
  }
  return MergeScreenFonts(QFontDatabase::families(), resolved);
}

QStringList LoadScreenFontNames() {
  PopUpEditorHost().SetMousePointer(11);
  QStringList names = ScreenFontNames();
  PopUpEditorHost().SetMousePointer(0);
  return names;
}

}  // namespace pv
