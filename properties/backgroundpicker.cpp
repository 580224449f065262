#include "properties/backgroundpicker.h"

#include "editor/pickers.h"
#include "platform/programfolder.h"
#include "platform/runtime.h"
#include "platform/stringtable.h"
#include "properties/picturefiles.h"
#include "render/libraries.h"
#include "render/pictures.h"

namespace pv {

BackgroundPickerModel::BackgroundPickerModel() : m_grid(ImageGridVariant::ImageList, this) {
  m_grid.BitmapX = 100;
  m_grid.BitmapY = 80;
  m_grid.SpaceX = 10;
  m_grid.SpaceY = 10;
  m_grid.pSelectMode = true;
  m_countLabel = LoadResString(11202);
}

QString BackgroundPickerModel::Caption() const { return LoadResString(m_mode ? 11208 : 11200); }
QString BackgroundPickerModel::OkCaption() const { return LoadResString(11206); }
QString BackgroundPickerModel::RemoveCaption() const { return LoadResString(11205); }
QString BackgroundPickerModel::CancelCaption() const { return LoadResString(11207); }

void BackgroundPickerModel::SetMode(bool bMode) {
  m_mode = bMode;
  m_files = m_mode ? ListPickerFiles(ProgramPath(QStringLiteral("graphics/border")), QStringLiteral("emf"))
                   : ListPickerFiles(ProgramPath(QStringLiteral("graphics/background")), QStringLiteral("bmp"));
  m_grid.nBitmap = static_cast<std::int16_t>(m_files.size());
  m_countLabel = LoadResString(m_mode ? 16006 : 16002) + QString::number(m_grid.nBitmap);
  m_grid.Selected(-1);
  m_okEnabled = false;
  m_grid.Refresh();
}

void BackgroundPickerModel::PaintImage(std::int16_t Index, std::int16_t X1, std::int16_t Y1, std::int16_t X2,
                                       std::int16_t Y2, ImageSurface& Pic) {
  if (Index < 1 || Index > m_files.size()) return;
  const Rect rect{X1, Y1, X2, Y2};
  const QString path = Trim(m_files[Index - 1]);
  if (m_mode) {
    const QByteArray bytes = path.toUtf8();
    Libraries().PictorRenderMetaFile(Pic.dc(), &rect, bytes.constData());
  } else {
    DrawPictureFile(Pic.dc(), path, rect);
  }
}

void BackgroundPickerModel::ClickImage(std::int16_t Index) {
  if (Index < 1 || Index > m_files.size()) return;
  FileName = m_files[Index - 1];
  m_okEnabled = true;
}

void BackgroundPickerModel::Remove() { FileName = QString::fromLatin1(NoImageMarker); }

}  // namespace pv
