#pragma once
// The clip-art picker's model: the categories of the program database on the
// left, the metafiles of the chosen category's folder in the grid;
// ClipFileName is the chosen file, "" for none.
#include "platform/db/dberror.h"
#include "platform/db/recordset.h"
#include "render/imagegrid.h"

#include <QString>
#include <QStringList>
#include <cstdint>
#include <vector>

namespace pv {

struct ClipCategory {
  QString label;
  std::int32_t code = 0;
};

// The rows of the category recordset in their order. Rows with a Null label
// or code are skipped; a closed or unreadable recordset gives none.
std::vector<ClipCategory> ReadClipCategories(Recordset& rs);

// The clip-art root: the DefaultPath setting; a relative one lies below the
// program folder; empty or "0" means the program's own clipart folder.
QString ClipArtRoot(const QString& defaultPath);

class ClipArtPickerModel : public ImageGridHost {
 public:
  // The root as ClipArtRoot gives it.
  explicit ClipArtPickerModel(QString root);

  ImageGridCore& Grid() { return m_grid; }
  QString Caption() const;
  QString OkCaption() const;
  QString CancelCaption() const;

  // Fills the list and selects the first category (none: an empty grid).
  void Load(const std::vector<ClipCategory>& categories);
  const std::vector<ClipCategory>& Categories() const { return m_categories; }
  int CurrentCategory() const { return m_current; }
  // A click on the list.
  void SelectCategory(int listIndex);

  const QStringList& Files() const { return m_files; }
  QString CategoryCountLabel() const;
  QString FileCountLabel() const;
  bool OkEnabled() const { return m_okEnabled; }

  void PaintImage(std::int16_t Index, std::int16_t X1, std::int16_t Y1, std::int16_t X2, std::int16_t Y2,
                  ImageSurface& Pic) override;
  void ClickImage(std::int16_t Index) override;
  void Cancel() { ClipFileName.clear(); }

  QString ClipFileName;

 private:
  ImageGridCore m_grid;
  QString m_root;
  std::vector<ClipCategory> m_categories;
  int m_current = -1;
  QStringList m_files;
  bool m_okEnabled = false;
};

}  // namespace pv
