#include "properties/fontwindow.h"

#include "platform/commondialogs.h"
#include "platform/decimalreader.h"
#include "properties/popupeditor.h"

#include <cmath>
#include <cstdlib>

namespace pv {

namespace {
bool ValidIndex(int i) { return i >= 0 && i < 4; }
}  // namespace

std::int32_t ValueAsLong(const QVariant& v) {
  bool ok = false;
  double d = 0;
  if (v.typeId() == QMetaType::QString) {
    const std::optional<double> read = ReadDecimal(v.toString());
    ok = read.has_value();
    if (ok) d = *read;
  } else {
    d = v.toDouble(&ok);
  }
  if (!ok || !std::isfinite(d)) return 0;
  d = std::nearbyint(d);
  if (d > 2147483647.0) return 2147483647;
  if (d < -2147483648.0) return -2147483647 - 1;
  return static_cast<std::int32_t>(d);
}

void FontWindowModel::Load(const QStringList& fonts) {
  Fonts = fonts;
  TypeSize(QStringLiteral("12"));
  FontEntry = Fonts.isEmpty() ? -1 : 0;
  FontText = FontEntry == 0 ? Fonts.front() : QString();
}

void FontWindowModel::SetOption(int i, bool on) {
  Option[static_cast<std::size_t>(i)] = on;
  // Option buttons of one group: turning one on turns the others off.
  if (on) {
    for (int k = 0; k < 4; ++k) {
      if (k != i) Option[static_cast<std::size_t>(k)] = false;
    }
  }
}

void FontWindowModel::Apply(int iCode, const QVariant& sValue) {
  const bool multiple = IsMultipleValue(sValue);
  if (iCode >= 100 && iCode <= 103) {
    const auto i = static_cast<std::size_t>(iCode - 100);
    Check[i] = multiple ? 0 : (std::abs(ValueAsLong(sValue)) != 0 ? 1 : 0);
    CheckMark[i] = multiple ? Mark::No : Mark::Yes;
  } else if (iCode >= 110 && iCode <= 113) {
    const int i = iCode - 110;
    // A value shown by the editor never applies at once, "Default" or not.
    SetOption(i, multiple ? false : sValue.toBool());
    OptionMark[static_cast<std::size_t>(i)] = multiple ? Mark::No : Mark::Yes;
  } else if (iCode == 114) {
    if (multiple) {
      FontEntry = -1;
      FontText.clear();
      FontMark = Mark::No;
    } else {
      FontMark = Mark::Yes;
      SelectFont(sValue);
    }
  } else if (iCode == 115) {
    SizeText = multiple ? QString() : sValue.toString();
    SizeMark = multiple ? Mark::No : Mark::Yes;
  } else if (iCode == 501) {
    Color = multiple ? 0xFFFFFF : ValueAsLong(sValue);
    ColorMark = multiple ? Mark::No : Mark::Yes;
  }
}

void FontWindowModel::SelectFont(const QVariant& sValue) {
  const QString wanted = sValue.toString().trimmed();
  for (int i = 0; i < Fonts.size(); ++i) {
    if (Fonts[i].trimmed() == wanted) {
      FontEntry = i;
      FontText = Fonts[i];
      return;
    }
  }
  // Not in the list: the box keeps the name itself, so that it goes back
  // unchanged instead of the entry shown before.
  FontEntry = -1;
  FontText = wanted;
}

void FontWindowModel::ClickCheck(int i, bool ticked) {
  if (!ValidIndex(i)) return;
  Check[static_cast<std::size_t>(i)] = ticked ? 1 : 0;
  CheckMark[static_cast<std::size_t>(i)] = Mark::Yes;
}

void FontWindowModel::ClickOption(int i) {
  if (!ValidIndex(i)) return;
  SetOption(i, true);
  OptionMark[static_cast<std::size_t>(i)] = Mark::Yes;
  if (Default) Command1_Click();
}

void FontWindowModel::TypeFontName(const QString& text) {
  FontText = text;
  FontEntry = static_cast<int>(Fonts.indexOf(text));
  FontMark = Mark::Yes;
}

void FontWindowModel::ChooseFont(int entry) {
  if (entry < 0 || entry >= Fonts.size()) return;
  FontEntry = entry;
  FontText = Fonts[entry];
  FontMark = Mark::Yes;
}

void FontWindowModel::TypeSize(const QString& text) {
  SizeText = text;
  SizeMark = Mark::Yes;
}

bool FontWindowModel::ClickColor(QWidget* owner) {
  // The dialog leaves the colour as it was on a cancel.
  if (!ShowColorDialog(Color, owner)) return false;
  ColorMark = Mark::Yes;
  return true;
}

void FontWindowModel::Command1_Click() {
  PopUpEditor& editor = PopUpEditorHost();
  const int d = Default ? 1 : 0;
  editor.SavedDoc();
  for (std::size_t i = 0; i < 4; ++i) {
    if (Marked(CheckMark[i])) editor.Apply(100 + static_cast<int>(i), QVariant(Check[i]), d, false);
  }
  for (std::size_t i = 0; i < 4; ++i) {
    if (Marked(OptionMark[i])) editor.Apply(110 + static_cast<int>(i), QVariant(Option[i]), d, false);
  }
  if (Marked(ColorMark)) editor.Apply(501, QVariant(Color), d, false);
  if (Marked(FontMark)) editor.Apply(114, QVariant(FontText), d, false);
  if (Marked(SizeMark)) editor.Apply(115, QVariant(SizeText), d, false);
  editor.Apply(0, QVariant(0), 0, true);
}

}  // namespace pv
