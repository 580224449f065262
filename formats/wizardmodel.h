#pragma once
// The new-label wizard without widgets: the four lists (label sizes from the
// print formats, the data-merge templates, the background and the border
// files), the thumbnail grid that shows them, and what a click and the
// context menu's "Applica" and "Elimina" do to the open document. Its window
// (ModelData) only shows it.

#include "formats/wizardcells.h"
#include "render/imagegrid.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <vector>

namespace pv {

class WizardModel : public ImageGridHost {
 public:
  // Command images and their labels: 0 load a label, 1 sizes, 2 templates,
  // 3 backgrounds, 4 borders.
  static constexpr int kCommandCount = 5;
  static QString CommandTooltip(int index);
  static QString CommandDescription(int index);
  static QString Title();

  WizardModel();

  ImageGridCore& Grid() { return m_grid; }
  const ImageGridCore& Grid() const { return m_grid; }
  // The count label (lblSelect).
  QString CountCaption() const { return m_countCaption; }
  int Mode() const { return m_Mode; }
  int SelIndex() const { return m_SelIndex; }
  // Entries 1..count of the size or template list (entry 0 is never filled).
  const std::vector<ModelEntry>& Models() const { return m_Models; }
  // Paths 1..m_FileCount of the background or border list.
  const QStringList& Files() const { return m_Files; }
  int FileCount() const { return m_FileCount; }

  // Start-up: the delivered templates into the table, then the size list.
  void Init();
  // 0: the clicked entry onto the document; another index removes the
  // background (mode 3) or border (mode 4).
  void Apply(int iIndex);
  // The codes of the print formats within 0.2 mm of the size, joined by
  // ", "; sDefault takes the first code.
  QString GetFormatString(float Width, float Height, QString& sDefault);
  void LoadBackGround();
  void LoadBorder();
  // The format last chosen for entry Index's size becomes the document's.
  void SelectDimension(int Index);
  void LoadDimension();
  void LoadTemplate();
  // The command images: 0 opens a label file, 1-4 show their list.
  void Command_Click(int Index);

  // ImageGridHost
  void PaintImage(std::int16_t Index, std::int16_t X1, std::int16_t Y1, std::int16_t X2, std::int16_t Y2,
                  ImageSurface& Pic) override;
  void ClickImage(std::int16_t Index) override;
  void Repaint() override;

 private:
  void p_SetMode(int mode);
  void LoadFiles(bool borders);
  // Sets the grid for cards (modes 1 and 2).
  void SetCardGrid(int count, int caption);
  // Stores a picture path in a fixed name unless it does not fit.
  static void StorePictureName(QString& name, const QString& path);

  ImageGridCore m_grid;
  std::vector<ModelEntry> m_Models;
  QStringList m_Files;  // index 0 is never filled
  int m_FileCount = 0;
  int m_Mode = 1;
  int m_SelIndex = 0;
  QString m_countCaption;
  BackgroundThumbnails m_thumbnails;
};

}  // namespace pv
