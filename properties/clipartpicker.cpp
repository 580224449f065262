#include "properties/clipartpicker.h"

#include "platform/programfolder.h"
#include "platform/runtime.h"
#include "platform/stringtable.h"
#include "properties/picturefiles.h"
#include "render/libraries.h"

#include <QDir>

namespace pv {

std::vector<ClipCategory> ReadClipCategories(Recordset& rs) {
  std::vector<ClipCategory> out;
  if (!rs.IsOpen()) return out;
  try {
    for (bool row = rs.MoveFirst(); row && !rs.Eof(); row = rs.MoveNext()) {
      const QVariant label = rs.Value(QStringLiteral("LABEL_CATEGORY"));
      const QVariant code = rs.Value(QStringLiteral("CODE_CATEGORY"));
      bool ok = false;
      const qlonglong n = code.toLongLong(&ok);
      if (label.isNull() || code.isNull() || !ok) continue;
      out.push_back(ClipCategory{label.toString(), static_cast<std::int32_t>(n)});
    }
  } catch (const DbError&) {
    // An unreadable recordset: the picker offers what was read so far.
  }
  return out;
}

QString ClipArtRoot(const QString& defaultPath) {
  const QString path = Trim(defaultPath);
  if (path.isEmpty() || path == QLatin1String("0")) return ProgramPath(QStringLiteral("clipart"));
  if (QDir::isRelativePath(path)) return ProgramPath(path);
  return ResolvePathCase(path);
}

ClipArtPickerModel::ClipArtPickerModel(QString root)
    : grid_(ImageGridVariant::ImageList, this), root_(std::move(root)) {
  grid_.BitmapX = 80;
  grid_.BitmapY = 80;
  grid_.SpaceX = 12;
  grid_.SpaceY = 12;
  grid_.pSelectMode = true;
  grid_.nBitmap = 0;
}

QString ClipArtPickerModel::Caption() const { return LoadResString(11500); }
QString ClipArtPickerModel::OkCaption() const { return LoadResString(11503); }
QString ClipArtPickerModel::CancelCaption() const { return LoadResString(11504); }

void ClipArtPickerModel::Load(const std::vector<ClipCategory>& categories) {
  ClipFileName.clear();
  okEnabled_ = false;
  categories_.insert(categories_.end(), categories.begin(), categories.end());
  if (categories_.empty()) {
    current_ = -1;
    files_.clear();
    grid_.nBitmap = 0;
    grid_.Selected(-1);
    grid_.Refresh();
    return;
  }
  SelectCategory(0);
}

void ClipArtPickerModel::SelectCategory(int listIndex) {
  if (listIndex < 0 || listIndex >= static_cast<int>(categories_.size())) return;
  current_ = listIndex;
  const QString folder = QDir(root_).filePath(QStringLiteral("clip%1").arg(categories_[listIndex].code));
  files_ = ListPickerFiles(ResolvePathCase(folder), QStringLiteral("emf"));
  grid_.nBitmap = static_cast<std::int16_t>(files_.size());
  grid_.Selected(-1);
  okEnabled_ = false;
  grid_.Refresh();
}

QString ClipArtPickerModel::CategoryCountLabel() const {
  return LoadResString(16000) + QString::number(categories_.size());
}

QString ClipArtPickerModel::FileCountLabel() const { return LoadResString(16001) + QString::number(grid_.nBitmap); }

void ClipArtPickerModel::PaintImage(std::int16_t Index, std::int16_t X1, std::int16_t Y1, std::int16_t X2,
                                    std::int16_t Y2, ImageSurface& Pic) {
  if (Index < 1 || Index > files_.size()) return;
  const Rect rect{X1, Y1, X2, Y2};
  const QByteArray path = Trim(files_[Index - 1]).toUtf8();
  Libraries().PictorRenderMetaFile(Pic.dc(), &rect, path.constData());
}

void ClipArtPickerModel::ClickImage(std::int16_t Index) {
  if (Index < 1 || Index > files_.size()) return;
  ClipFileName = files_[Index - 1];
  okEnabled_ = true;
}

}  // namespace pv
