#include "properties/backgroundpicker.h"

#include "editor/pickers.h"
#include "platform/programfolder.h"
#include "platform/runtime.h"
#include "platform/stringtable.h"
#include "properties/picturefiles.h"
#include "render/libraries.h"
#include "render/pictures.h"

namespace pv {

BackgroundPickerModel::BackgroundPickerModel() : grid_(ImageGridVariant::ImageList, this) {
  grid_.BitmapX = 100;
  grid_.BitmapY = 80;
  grid_.SpaceX = 10;
  grid_.SpaceY = 10;
  grid_.pSelectMode = true;
  countLabel_ = LoadResString(11202);
}

QString BackgroundPickerModel::Caption() const { return LoadResString(mode_ ? 11208 : 11200); }
QString BackgroundPickerModel::OkCaption() const { return LoadResString(11206); }
QString BackgroundPickerModel::RemoveCaption() const { return LoadResString(11205); }
QString BackgroundPickerModel::CancelCaption() const { return LoadResString(11207); }

void BackgroundPickerModel::SetMode(bool bMode) {
  mode_ = bMode;
  files_ = mode_ ? ListPickerFiles(ProgramPath(QStringLiteral("graphics/border")), QStringLiteral("emf"))
                 : ListPickerFiles(ProgramPath(QStringLiteral("graphics/background")), QStringLiteral("bmp"));
  grid_.nBitmap = static_cast<std::int16_t>(files_.size());
  countLabel_ = LoadResString(mode_ ? 16006 : 16002) + QString::number(grid_.nBitmap);
  grid_.Selected(-1);
  okEnabled_ = false;
  grid_.Refresh();
}

void BackgroundPickerModel::PaintImage(std::int16_t Index, std::int16_t X1, std::int16_t Y1, std::int16_t X2,
                                       std::int16_t Y2, ImageSurface& Pic) {
  if (Index < 1 || Index > files_.size()) return;
  const Rect rect{X1, Y1, X2, Y2};
  const QString path = Trim(files_[Index - 1]);
  if (mode_) {
    const QByteArray bytes = path.toUtf8();
    Libraries().PictorRenderMetaFile(Pic.dc(), &rect, bytes.constData());
  } else {
    DrawPictureFile(Pic.dc(), path, rect);
  }
}

void BackgroundPickerModel::ClickImage(std::int16_t Index) {
  if (Index < 1 || Index > files_.size()) return;
  FileName = files_[Index - 1];
  okEnabled_ = true;
}

void BackgroundPickerModel::Remove() { FileName = QString::fromLatin1(NoImageMarker); }

}  // namespace pv
