#include "properties/textwindow.h"

#include "properties/marks.h"
#include "properties/popupeditor.h"

#include <QClipboard>
#include <QGuiApplication>

#include <algorithm>

namespace pv {

namespace {
QString ClipboardText() {
  QClipboard* c = QGuiApplication::clipboard();
  return c != nullptr ? c->text() : QString();
}
void SetClipboardText(const QString& text) {
  if (QClipboard* c = QGuiApplication::clipboard()) c->setText(text);
}
}  // namespace

void TextWindowModel::Apply(int, const QVariant& sValue) {
  QString text = IsMultipleValue(sValue) ? QString() : sValue.toString();
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  Text = text;
  SelStart = static_cast<int>(Text.size());
  SelLength = 0;
  Changed = false;
}

void TextWindowModel::Type(const QString& text) {
  if (text == Text) return;
  Text = text;
  SelStart = std::min(SelStart, static_cast<int>(Text.size()));
  SelLength = 0;
  Changed = true;
}

void TextWindowModel::Select(int start, int length) {
  const int size = static_cast<int>(Text.size());
  SelStart = std::clamp(start, 0, size);
  SelLength = std::clamp(length, 0, size - SelStart);
}

QString TextWindowModel::SelectedText() const { return Text.mid(SelStart, SelLength); }

QString TextWindowModel::StoredText() const {
  QString stored = Text;
  stored.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
  return stored;
}

void TextWindowModel::ReplaceSelection(const QString& with) {
  if (SelLength == 0 && with.isEmpty()) return;
  Text.replace(SelStart, SelLength, with);
  SelStart += static_cast<int>(with.size());
  SelLength = 0;
  Changed = true;
}

void TextWindowModel::Command1_Click(int i) {
  switch (i) {
    case 0:
      SetClipboardText(SelectedText());
      ReplaceSelection(QString());
      break;
    case 1: SetClipboardText(SelectedText()); break;
    case 2: {
      QString pasted = ClipboardText();
      pasted.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
      ReplaceSelection(pasted);
      break;
    }
    case 3: ReplaceSelection(QString()); break;
    case 4:
      // A box the editor filled and the user left alone holds nothing to
      // send (for several objects it is empty, and would empty every text).
      if (!Changed) return;
      PopUpEditorHost().SavedDoc();
      PopUpEditorHost().Apply(200, QVariant(StoredText()), 0, true);
      break;
    default: break;
  }
}

}  // namespace pv
