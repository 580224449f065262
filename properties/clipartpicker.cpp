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
    : m_grid(ImageGridVariant::ImageList, this), m_root(std::move(root)) {
  m_grid.BitmapX = 80;
  m_grid.BitmapY = 80;
  m_grid.SpaceX = 12;
  m_grid.SpaceY = 12;
  m_grid.pSelectMode = true;
  m_grid.nBitmap = 0;
}

QString ClipArtPickerModel::Caption() const { return LoadResString(11500); }
QString ClipArtPickerModel::OkCaption() const { return LoadResString(11503); }
QString ClipArtPickerModel::CancelCaption() const { return LoadResString(11504); }

void ClipArtPickerModel::Load(const std::vector<ClipCategory>& categories) {
  ClipFileName.clear();
  m_okEnabled = false;
  m_categories.insert(m_categories.end(), categories.begin(), categories.end());
  if (m_categories.empty()) {
    m_current = -1;
    m_files.clear();
    m_grid.nBitmap = 0;
    m_grid.Selected(-1);
    m_grid.Refresh();
    return;
  }
  SelectCategory(0);
}

void ClipArtPickerModel::SelectCategory(int listIndex) {
  if (listIndex < 0 || listIndex >= static_cast<int>(m_categories.size())) return;
  m_current = listIndex;
  const QString folder = QDir(m_root).filePath(QStringLiteral("clip%1").arg(m_categories[listIndex].code));
  m_files = ListPickerFiles(ResolvePathCase(folder), QStringLiteral("emf"));
  m_grid.nBitmap = static_cast<std::int16_t>(m_files.size());
  m_grid.Selected(-1);
  m_okEnabled = false;
  m_grid.Refresh();
}

QString ClipArtPickerModel::CategoryCountLabel() const {
  return LoadResString(16000) + QString::number(m_categories.size());
}

QString ClipArtPickerModel::FileCountLabel() const { return LoadResString(16001) + QString::number(m_grid.nBitmap); }

void ClipArtPickerModel::PaintImage(std::int16_t Index, std::int16_t X1, std::int16_t Y1, std::int16_t X2,
                                    std::int16_t Y2, ImageSurface& Pic) {
  if (Index < 1 || Index > m_files.size()) return;
  const Rect rect{X1, Y1, X2, Y2};
  const QByteArray path = Trim(m_files[Index - 1]).toUtf8();
  Libraries().PictorRenderMetaFile(Pic.dc(), &rect, path.constData());
}

void ClipArtPickerModel::ClickImage(std::int16_t Index) {
  if (Index < 1 || Index > m_files.size()) return;
  ClipFileName = m_files[Index - 1];
  m_okEnabled = true;
}

}  // namespace pv
