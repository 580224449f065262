#include "editor/editcardlogic.h"

#include "document/clipboard.h"
#include "document/hosts.h"
#include "document/labelfile.h"
#include "document/model.h"
#include "document/objectstore.h"
#include "document/pageorigin.h"
#include "editor/pickers.h"
#include "editor/services.h"
#include "editor/style.h"
#include "platform/commondialogs.h"
#include "platform/msgbox.h"
#include "platform/runtime.h"
#include "platform/stringtable.h"
#include "render/barcoderecord.h"

#include <QFile>
#include <QSaveFile>

#include <algorithm>
#include <cmath>
#include <optional>

namespace pv {

namespace {

constexpr std::int32_t White = 0x00FFFFFF;

bool IsShapeKind(std::int32_t kind) {
  return (kind >= UserTypeRectangle && kind <= UserTypeRoundedRect) ||
         (kind >= UserTypeShapeBase && kind <= UserTypeShapeLast);
}

}  // namespace

// ---- Picture copies ---------------------------------------------------------

bool CopyPictureFile(const QString& source, const QString& targetPath) {
  if (source.isEmpty() || targetPath.isEmpty()) return false;
  QFile in(source);
  if (!in.open(QIODevice::ReadOnly)) return false;
  QSaveFile out(targetPath);
  if (!out.open(QIODevice::WriteOnly)) return false;
  char buffer[64 * 1024];
  for (;;) {
    const qint64 n = in.read(buffer, sizeof buffer);
    if (n < 0) {
      out.cancelWriting();
      return false;
    }
    if (n == 0) break;
    if (out.write(buffer, n) != n) {
      out.cancelWriting();
      return false;
    }
  }
  return out.commit();
}

// ---- Iteration over the selection --------------------------------------------

template <class F>
void EditCardLogic::ForEachSelected(F&& f) {
  // The enumeration ends at -1; a canvas that never says so still stops after
  // one pass over the table.
  int guard = MaxObjects + 1;
  for (std::int32_t key = m_canvas.GetFirstObject(true); key != -1 && guard-- > 0; key = m_canvas.GetNextObject(true)) {
    const std::int16_t index = FindObjectIndex(key);
    if (index == 0) continue;
    f(Objects[index]);
  }
}

// ---- Apply ------------------------------------------------------------------------

void EditCardLogic::Apply(std::int16_t iCode, const QVariant& sValue, bool bMode, bool bRefresh) {
  const PropertyCodeRow* row = FindPropertyCode(iCode);
  const std::optional<PropertyData> value = row ? ReadPropertyValue(*row, sValue) : std::nullopt;
  if (value && row->conversion == PropertyConversion::PictureFile) {
    ReplacePicture(std::get<QString>(*value));
  } else if (value) {
    if (bMode) WriteProperty(*row, *value, DefaultStyle);
    ForEachSelected([&](ObjectRecord& r) {
      if (PropertyReachesKind(*row, r.UserType)) WriteProperty(*row, *value, r);
    });
  }
  if (bRefresh) m_canvas.Refresh(true);
}

void EditCardLogic::ReplacePicture(const QString& source) {
  const std::int32_t key = m_canvas.GetFirstObject(true);
  if (key == -1) return;
  const std::int16_t index = FindObjectIndex(key);
  if (index == 0 || Objects[index].UserType != UserTypeImage) return;
  // The old picture stays whole unless the new one was copied completely.
  if (!CopyPictureFile(source, ImageTempPath(Objects[index]))) {
    MsgBoxRes(MsgPictureNotCopied, MsgIcon::Critical);
  }
}

// ---- Exec -------------------------------------------------------------------------

void EditCardLogic::Exec(const QString& strKey, int iCode) {
  const auto is = [&](const char* key) { return strKey == QLatin1String(key); };

  if (is("edit_select")) {
    m_canvas.SetTool(ToolSelect, ToolSelect);
  } else if (is("edit_rotate")) {
    m_canvas.SetTool(ToolRotate, ToolRotate);
  } else if (is("edit_selectall")) {
    m_canvas.SetTool(ToolSelect, ToolSelect);
    m_canvas.SelectAll();
  } else if (is("edit_undo")) {
    m_canvas.Undo();
  } else if (is("edit_redo")) {
    m_canvas.Redo();
  } else if (is("edit_zoomin")) {
    m_canvas.SetZoom(true);
  } else if (is("edit_zoomout")) {
    m_canvas.SetZoom(false);
  } else if (is("edit_copy")) {
    DocumentCopy();
  } else if (is("edit_cut")) {
    DocumentCopy();
    m_canvas.DelObjects();
  } else if (is("edit_paste")) {
    DocumentPaste();
  } else if (is("edit_array")) {
    SeriesCopies();
  } else if (is("edit_delete")) {
    m_canvas.DelObjects();
  } else if (is("edit_clone")) {
    DocumentClone();
  } else if (is("edit_field")) {
    EditField();
  } else if (is("edit_resize")) {
    ResizeImage();
  } else if (is("mnu_align")) {
    switch (iCode) {
      case 0: m_canvas.SetAlign(1, true); break;
      case 1: m_canvas.SetAlign(3, true); break;
      case 2: m_canvas.SetAlign(2, true); break;
      case 3: m_canvas.SetAlign(4, true); break;
      case 4: m_canvas.SetAlign(6, true); break;
      case 5: m_canvas.SetAlign(5, true); break;
      case 9: m_canvas.MoveFront(); break;
      case 10: m_canvas.MoveBack(); break;
      case 11: m_canvas.MoveUp(); break;
      case 12: m_canvas.MoveDown(); break;
      case 14: m_canvas.SetAlign(9, true); break;
      default: break;
    }
  } else if (is("mnu_size")) {
    if (iCode == 6) m_canvas.SetAlign(8, true);
    if (iCode == 7) m_canvas.SetAlign(7, true);
  } else if (is("mnu_rotate")) {
    if (iCode >= 13 && iCode <= 16) m_canvas.RotateObject(static_cast<float>((iCode - 13) * 90));
  } else if (is("mnu_shadow")) {
    switch (iCode) {
      case 0: SetShadow(1); break;
      case 1: SetShadow(2); break;
      case 2: SetShadow(3); break;
      case 3: SetShadow(4); break;
      case 5: SetShadow(5); break;
      case 6: SetShadow(6); break;
      case 7: SetShadow(7); break;
      case 8: SetShadow(8); break;
      case 10: SetShadow(0); break;
      default: break;
    }
  }
}

void EditCardLogic::SeriesCopies() {
  const ArrayAnswer answer = Pickers().ShowArray();
  if (answer.RetCode != 0) DocumentArray(answer.xCopy, answer.yCopy, answer.xDelta, answer.yDelta);
}

void EditCardLogic::EditField() {
  if (m_canvas.SelCount() != 1) {
    MsgBoxRes(MsgFieldCommand, MsgIcon::Information);
    return;
  }
  const std::int32_t key = m_canvas.GetFirstObject(true);
  const std::int16_t index = key == -1 ? 0 : FindObjectIndex(key);
  if (index == 0) {
    MsgBoxRes(MsgFieldCommand, MsgIcon::Information);
    return;
  }
  ObjectRecord& record = Objects[index];

  if (record.UserType == UserTypeDatabaseField) {
    // Both look-ups trim the record's Content in place.
    FieldPickerPreset preset;
    preset.FieldName = Pickers().GetPredefinedFieldCaption(record.Content);
    preset.NameText = preset.FieldName;
    preset.NameTag = QString::number(Pickers().GetPredefinedFieldCode(record.Content));
    preset.FieldFormat = record.FormatText;
    preset.FormatText = record.FormatText;
    const FieldPickerAnswer answer = Pickers().ShowFieldPicker(&preset);
    const std::int16_t after = FindObjectIndex(key);
    if (!answer.FieldName.isEmpty() && after != 0) {
      Objects[after].Content = answer.FieldName;
      Objects[after].FormatText = answer.FieldFormat;
    }
    return;
  }

  if (record.UserType == UserTypeBarcode) {
    BarcodeSettingsRecord& s = BarcodeSettings;
    ReadBarcodeRecord(record, s);
    s.FixedText = record.Content;
    s.FieldFormatText = record.FormatText;
    s.ContentSource = record.Variant;
    const std::int16_t retCode = Pickers().ShowCodeBar();
    const std::int16_t after = FindObjectIndex(key);
    if (retCode != 0 && after != 0) {
      ObjectRecord& r = Objects[after];
      WriteBarcodeRecord(s, r);
      r.Content = s.FixedText;
      r.FormatText = s.FieldFormatText;
      r.Variant = s.ContentSource;
      // The barcode is drawn afresh from its record; its place is unchanged,
      // so repainting that place is enough.
      m_canvas.RefreshSelection();
    }
    return;
  }

  MsgBoxRes(MsgFieldCommand, MsgIcon::Information);
}

void EditCardLogic::ResizeImage() {
  if (m_canvas.SelCount() != 1) return;
  const std::int32_t key = m_canvas.GetFirstObject(true);
  const std::int16_t index = key == -1 ? 0 : FindObjectIndex(key);
  if (index == 0) return;
  ObjectRecord& record = Objects[index];
  if (record.UserType != UserTypeImage) return;
  const double aspect = Services().ImageAspect(ImageTempPath(record));
  // A frame without a size gives no proportion: the width stays.
  if (std::isfinite(aspect) && aspect > 0.0) {
    const float width = static_cast<float>(static_cast<double>(record.Height) / aspect);
    if (std::isfinite(width)) record.Width = width;
  }
  m_canvas.Refresh(true);
}

void EditCardLogic::SetShadow(std::int16_t iMode) {
  for (std::int32_t i = 1; i <= ObjCount; ++i) {
    ObjectRecord& r = Objects[i];
    if (r.IsSelected != 0 && IsShapeKind(r.UserType)) r.Variant = iMode;
  }
  m_canvas.Refresh(false);
}

// ---- Insert palette -------------------------------------------------------------

void EditCardLogic::Image2_Click(int Index) {
  switch (Index) {
    case 0: {
      const FieldPickerAnswer answer = Pickers().ShowFieldPicker(nullptr);
      if (!answer.FieldName.isEmpty()) {
        InsertFieldName = answer.FieldName;
        // The format chosen in the picker is the new field's, as when a
        // field is edited.
        InsertFormatText = answer.FieldFormat;
        m_canvas.SetTool(ToolDrawBox, UserTypeDatabaseField);
      }
      break;
    }
    case 1: m_canvas.SetTool(ToolDrawBox, UserTypeTextBox); break;
    case 2:
      InsertImagePath.clear();
      ShowOpenDialog(QStringLiteral("bmp"), LoadResString(MsgImageFilter), InsertImagePath,
                     LoadResString(MsgImportImage), FileKind::Pictures);
      if (!InsertImagePath.isEmpty()) m_canvas.SetTool(ToolDrawBox, UserTypeImage);
      break;
    case 3: {
      const QString clip = Pickers().ShowClipArt();
      if (!clip.isEmpty()) {
        InsertImageNumber = NextImageNumber();
        if (InsertImageNumber != 0) {
          InsertImagePath = clip;
          m_canvas.SetTool(ToolDrawBox, UserTypeImage);
        }
      }
      break;
    }
    case 4: m_canvas.SetTool(ToolDrawLine, UserTypeLine); break;
    case 5: m_canvas.SetTool(ToolDrawBox, UserTypeRectangle); break;
    case 6: m_canvas.SetTool(ToolDrawBox, UserTypeEllipse); break;
    case 7: m_canvas.SetTool(ToolDrawBox, UserTypeChamferedRect); break;
    case 8: m_canvas.SetTool(ToolDrawBox, UserTypeRoundedRect); break;
    case 9: {
      const std::int16_t shape = Pickers().ShowShapePicker();
      // Only the shapes 0-13 exist; anything else is taken as a cancel.
      if (shape >= 0 && shape <= UserTypeShapeLast - UserTypeShapeBase) {
        m_canvas.SetTool(ToolDrawBox, static_cast<std::int16_t>(UserTypeShapeBase + shape));
      }
      break;
    }
    case 10: ChooseBackground(false); break;
    case 11: m_canvas.SetTool(ToolDrawBox, UserTypeArtText); break;
    case 12: m_canvas.SetTool(ToolDrawBox, UserTypeBarcode); break;
    case 13: ChooseBackground(true); break;
    default: break;
  }
}

void EditCardLogic::ChooseBackground(bool border) {
  const QString name = Pickers().ShowBackGround(border);
  if (name == QLatin1String(NoImageMarker)) {
    (border ? BorderName : BackgroundName) = FixedName(QString());
  } else if (!name.isEmpty()) {
    // The label keeps the .jpg twin of the chosen .bmp.
    const QString stored =
        border ? name : Trim(name.left(std::max<qsizetype>(0, name.size() - 4)) + QStringLiteral(".jpg"));
    if (stored.size() > FixedNameLength) {
      // The stored name would be cut and the label would lose its picture.
      MsgBox(QStringLiteral("Il percorso del file \"%1\" supera i %2 caratteri consentiti: "
                            "il file non può essere usato.")
                 .arg(stored)
                 .arg(FixedNameLength),
             MsgIcon::Information);
      return;
    }
    (border ? BorderName : BackgroundName) = FixedName(stored);
  }
  m_canvas.Refresh(false);
}

// ---- New objects -----------------------------------------------------------------

void EditCardLogic::FillNewRecord(ObjectRecord& r, std::int32_t lKey, std::int16_t UserType) {
  const DefaultStyleRecord& style = DefaultStyle;
  // A slot the canvas reused may still hold an earlier object's attributes:
  // the new object starts from none.
  const ObjectRecord empty;
  r.Page = empty.Page;
  r.Content = empty.Content;
  r.FontName = empty.FontName;
  r.FontSize = empty.FontSize;
  r.Italic = r.Bold = r.Underline = r.StrikeOut = 0;
  r.Alignment = 0;
  r.FormatText.clear();
  r.ExtraOption1 = r.ExtraOption2 = r.ShowMargins = r.BearerBars = r.ShowCheckDigit = r.ShowText = 0;

  r.Key = lKey;
  r.UserType = UserType;
  r.Opacity = style.Opacity;
  r.LineColor = style.LineColor;
  r.LineStyle = style.LineStyle;
  r.FillStyle = style.FillStyle;
  r.Color1 = style.Color1;
  r.Color2 = style.Color2;
  r.Aspect = 4;
  r.Page = CurrentPage;
  r.Variant = 0;

  switch (UserType) {
    case UserTypeDatabaseField:
    case UserTypeTextBox:
      r.Alignment = style.Alignment;
      r.FontSize = style.FontSize;
      r.FontName = style.FontName;
      r.Bold = style.Bold;
      r.Italic = style.Italic;
      r.Underline = style.Underline;
      r.StrikeOut = style.StrikeOut;
      if (r.Color1 == White) r.Color1 = 0;
      if (UserType == UserTypeDatabaseField) {
        r.Content = InsertFieldName;
        r.FormatText = InsertFormatText;
      } else {
        r.Content = LoadResString(MsgNewText);
      }
      break;
    case UserTypeImage:
      r.Content = FileExtension(InsertImagePath);
      InsertImageNumber = NextImageNumber();
      r.Variant = InsertImageNumber;
      break;
    case UserTypeArtText:
      r.Content = LoadResString(MsgNewText);
      r.Variant = 0;
      r.FontName = QStringLiteral("ARIAL");
      break;
    case UserTypeBarcode:
      r.ShowMargins = 0;
      r.BearerBars = 0;
      r.ShowCheckDigit = 0;
      r.ShowText = 1;
      r.Aspect = 10;
      r.ExtraOption1 = 0;
      r.ExtraOption2 = 0;
      r.Alignment = 0;
      r.Color1 = 0;
      r.Color2 = 0;
      r.Content = LoadResString(MsgNewBarcode);
      break;
    default: break;
  }
}

void EditCardLogic::InsertObject(std::int32_t lKey, std::int16_t UserType) {
  // The record the canvas appended is the last one; it carries the new key.
  std::int32_t index = 0;
  if (ObjCount >= 1 && Objects[ObjCount].Key == lKey) {
    index = ObjCount;
  } else {
    index = FindObjectIndex(lKey);
  }
  if (index != 0) {
    ObjectRecord& record = Objects[index];
    FillNewRecord(record, lKey, UserType);
    if (UserType == UserTypeImage) {
      // No image object is kept without its picture.
      const bool copied = record.Variant != 0 && CopyPictureFile(InsertImagePath, ImageTempPath(record));
      if (!copied) {
        MsgBoxRes(MsgPictureNotCopied, MsgIcon::Critical);
        m_canvas.DelObject(lKey, true);
      }
    }
  }
  AfterInsert();
}

void EditCardLogic::InsertObjectRefused(std::int16_t /*UserType*/) {
  MsgBoxRes(MsgTooManyObjects, MsgIcon::Information);
  AfterInsert();
}

void EditCardLogic::AfterInsert() {
  if (Services().AutoInsert() == 0) m_canvas.SetTool(ToolSelect, ToolSelect);
}

// ---- Forwarding members ------------------------------------------------------------

void EditCardLogic::SavedDoc() { m_canvas.SavedDoc(); }

void EditCardLogic::SaveData() { pv::SaveData(); }

void EditCardLogic::SetBaseTool() { m_canvas.SetTool(ToolSelect, ToolSelect); }

void EditCardLogic::SetParameter() {
  EditorServices& s = Services();
  m_canvas.SetGrid(s.GridX(), s.GridY(), false);
  m_canvas.SetShowRule(s.ShowRule());
  m_canvas.SetShowGrid(s.ShowGrid());
  m_canvas.SetSnap(s.Snap());
  m_canvas.SetShowPage(false);
  m_canvas.SetWorkArea(EditorWorkAreaSize, EditorWorkAreaSize, false);
  m_canvas.SetPage(Header.LabelWidth, Header.LabelHeight, false);
  m_canvas.Refresh(true);
}

void EditCardLogic::SetNewKey(std::int32_t& lKey) { m_canvas.SetNewKey(lKey); }

}  // namespace pv
