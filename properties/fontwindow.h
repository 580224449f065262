#pragma once
// The text format window's model (popFont): font name, size, the four style
// toggles, the four alignments and the text colour of the selection, each
// with its mark; the editor fills it through Apply and "Applica" sends the
// marked values in one batch.
#include "properties/marks.h"

#include <QString>
#include <QStringList>
#include <QVariant>

#include <array>
#include <cstdint>

class QWidget;

namespace pv {

class FontWindowModel {
 public:
  // Loading: the font list, "12" into the size box (which marks it), the
  // first font chosen.
  void Load(const QStringList& fonts);

  // One value from the editor (codes 100-103, 110-115, 501; -20 blanks the
  // control and marks it "NO"); other codes are ignored.
  void Apply(int iCode, const QVariant& sValue);
  // Chooses the first font whose name equals the value, blanks trimmed. A
  // name the list lacks stays in the font box as its text.
  void SelectFont(const QVariant& sValue);

  // The user's changes; each marks its control.
  void ClickCheck(int i, bool ticked);
  // Turns alignment i on; with "Default" ticked the batch goes at once.
  void ClickOption(int i);
  void TypeFontName(const QString& text);
  void ChooseFont(int entry);
  void TypeSize(const QString& text);
  // The colour dialog from the swatch's colour; a cancel changes nothing.
  // True when a colour was chosen.
  bool ClickColor(QWidget* owner = nullptr);
  void SetDefault(bool ticked) { Default = ticked; }

  // "Applica": SavedDoc, the marked values in the order 100-103, 110-113,
  // 501, 114, 115, each with the "Default" box, then Apply(0, 0, 0, True).
  void Command1_Click();

  QStringList Fonts;
  QString FontText;    // the font box's text
  int FontEntry = -1;  // the chosen entry, -1 none
  QString SizeText;
  std::array<int, 4> Check{};  // 0 clear, 1 ticked
  std::array<bool, 4> Option{};
  std::int32_t Color = 0;  // 0x00BBGGRR
  bool Default = false;

  std::array<Mark, 4> CheckMark{Mark::None, Mark::None, Mark::None, Mark::None};
  std::array<Mark, 4> OptionMark{Mark::None, Mark::None, Mark::None, Mark::None};
  Mark ColorMark = Mark::None;
  Mark FontMark = Mark::None;
  Mark SizeMark = Mark::None;

 private:
  void SetOption(int i, bool on);
};

// The number a value shows, as the editor's Long (0 for no number).
std::int32_t ValueAsLong(const QVariant& v);

}  // namespace pv
