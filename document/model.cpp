#include "document/model.h"

#include "document/clipboard.h"
#include "document/objectstore.h"

namespace pv {

LabelHeader Header;
QString BackgroundName;
QString BorderName;
QString DocFileName;
DocumentBlock DocBlock;
float PageOrgX = 0;
float PageOrgY = 0;
std::int32_t EnumCursor = 0;

bool IsValidLabelSide(double millimetres) {
  // NaN fails both comparisons.
  return millimetres > 0.0 && millimetres <= MaxLabelSide;
}

bool SameLiveObjects(const DocumentBlock& a, const DocumentBlock& b) {
  if (a.Count != b.Count) return false;
  for (int i = 1; i <= a.Count && i <= MaxObjects; ++i)
    if (!(a.Objects[i] == b.Objects[i])) return false;
  return true;
}

QString FixedString(const QString& s, int n) {
  if (s.size() >= n) return s.left(n);
  return s + QString(n - s.size(), QLatin1Char(' '));
}

QString FixedName(const QString& s) { return FixedString(s, FixedNameLength); }

void ResetDocumentState() {
  Header = LabelHeader{};
  BackgroundName.clear();
  BorderName.clear();
  DocFileName.clear();
  DocBlock = DocumentBlock{};
  PageOrgX = PageOrgY = 0;
  EnumCursor = 0;
  ResetUndoHistory();
  ResetClipboard();
}

}  // namespace pv
