#pragma once
// The screen fonts the property windows offer: every family the display
// lists, plus the Windows names that label files carry most ("Arial",
// "Times New Roman", "Courier New") where fontconfig gives them a
// metric-compatible face; sorted, without repeats.
#include <QString>
#include <QStringList>

#include <utility>
#include <vector>

namespace pv {

// A Windows font name and the families that stand in for it with the same
// metrics.
struct MetricAlias {
  QString name;
  QStringList faces;
};
const std::vector<MetricAlias>& MetricAliases();

// `families` with each alias whose resolved family (what the font system
// draws for its name) is one of its faces; sorted without regard to letter
// case, repeats dropped.
QStringList MergeScreenFonts(const QStringList& families, const std::vector<std::pair<QString, QString>>& resolved);

// The list itself, from the display's font database.
QStringList ScreenFontNames();
// The same under the main window's hourglass (pointer 11, then 0).
QStringList LoadScreenFontNames();

}  // namespace pv
