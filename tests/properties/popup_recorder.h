#pragma once
// The editor as the property windows see it, recorded: every call as text
// ("SavedDoc", "Apply:114=\"Arial\",1,False"), the mouse pointer's changes,
// and the colour dialog answered from a queue.
#include "platform/commondialogs.h"
#include "properties/popupeditor.h"

#include <QColor>
#include <QStringList>
#include <QVariant>

#include <deque>
#include <optional>

namespace proptest {

inline QString ValueText(const QVariant& v) {
  if (v.typeId() == QMetaType::Bool) return v.toBool() ? QStringLiteral("True") : QStringLiteral("False");
  if (v.typeId() == QMetaType::QString) return QLatin1Char('"') + v.toString() + QLatin1Char('"');
  return v.toString();
}

class RecordingEditor : public pv::PopUpEditor {
 public:
  QStringList calls;
  QList<int> pointers;
  void SavedDoc() override { calls << QStringLiteral("SavedDoc"); }
  void Apply(int code, const QVariant& v, int d, bool refresh) override {
    calls << QStringLiteral("Apply:%1=%2,%3,%4")
                 .arg(code)
                 .arg(ValueText(v))
                 .arg(d)
                 .arg(refresh ? QStringLiteral("True") : QStringLiteral("False"));
  }
  void SetShowPop(int index, bool mode) override {
    calls << QStringLiteral("SetShowPop:%1,%2").arg(index).arg(mode ? QStringLiteral("True") : QStringLiteral("False"));
  }
  void SetMousePointer(int pointer) override { pointers << pointer; }
};

// A whole batch: SavedDoc, the values sent ("%D" standing for the Default
// box, 0 or 1), and the closing call.
inline QStringList ExpectedBatch(const QStringList& sent, bool defaultBox) {
  QStringList expected = {QStringLiteral("SavedDoc")};
  for (const QString& s : sent) expected << QString(s).replace(QStringLiteral("%D"), defaultBox ? "1" : "0");
  expected << QStringLiteral("Apply:0=0,0,True");
  return expected;
}

// Answers the colour dialog: each answer in turn (nothing = Cancel), and
// records the colour it was opened with.
class AnsweringColorDialog : public pv::ColorDialogHost {
 public:
  std::deque<std::optional<QColor>> answers;
  QList<QColor> opened;
  std::optional<QColor> ChooseColor(const QColor& initial, QWidget*) override {
    opened << initial;
    if (answers.empty()) return std::nullopt;
    const std::optional<QColor> a = answers.front();
    answers.pop_front();
    return a;
  }
};

}  // namespace proptest
