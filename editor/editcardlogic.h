#pragma once
// The label editor's logic, without widgets: the application of property
// codes to the selection and the current style (Apply), the edit and menu
// commands (Exec, ResizeImage, SetShadow), the insert palette (Image2_Click)
// and the filling of each new object (InsertObject). It works on the open
// document (document/model.h) and calls the canvas through a CanvasPort, the
// pickers through Pickers() and the settings through Services(). The editor
// view forwards its controls' events and its public members here.
#include "editor/canvasport.h"
#include "editor/propertycodes.h"

#include <QString>
#include <QVariant>

#include <cstdint>

namespace pv {

// Messages of the editor.
inline constexpr int MsgFieldCommand = 31012;    // "edit_field" on the wrong selection
inline constexpr int MsgTooManyObjects = 15046;  // the table is full
inline constexpr int MsgNewText = 15060;         // "Nuovo testo"
inline constexpr int MsgNewBarcode = 32003;      // text of a new barcode
inline constexpr int MsgImageFilter = 15047;
inline constexpr int MsgImportImage = 15061;
// A picture that cannot be copied into the temp folder.
inline constexpr int MsgPictureNotCopied = 15096;

class EditCardLogic {
 public:
  explicit EditCardLogic(CanvasPort& canvas) : m_canvas(canvas) {}
  EditCardLogic(const EditCardLogic&) = delete;
  EditCardLogic& operator=(const EditCardLogic&) = delete;

  CanvasPort& Canvas() { return m_canvas; }

  // ---- Property application -------------------------------------------------
  // Writes the value of iCode into every selected object of the kinds the
  // code applies to and, with bMode, into the DefaultStyle (the code's row
  // in editor/propertycodes.h says which fields); with bRefresh repaints the
  // canvas and both rulers. Takes no undo snapshot and reports nothing; a
  // value that cannot be read as the field's type is ignored.
  void Apply(std::int16_t iCode, const QVariant& sValue, bool bMode, bool bRefresh);

  // ---- Commands ---------------------------------------------------------------
  // One toolbar or menu command: the key and the menu item's index. Keys are
  // compared exactly; unknown keys and indexes do nothing.
  void Exec(const QString& strKey, int iCode);
  // Brings the one selected image object to its picture's proportions (the
  // height and the centre stay).
  void ResizeImage();
  // Shadow mode of the selected rectangles, ellipses and generic shapes.
  void SetShadow(std::int16_t iMode);

  // ---- Insert palette and new objects ----------------------------------------
  // A click on palette button Index (0-13).
  void Image2_Click(int Index);
  // The canvas appended the record of key lKey and kind UserType: fill its
  // attributes, then back to the select tool unless AUTO_INSERT is on.
  void InsertObject(std::int32_t lKey, std::int16_t UserType);
  // The canvas refused a drawing because the table holds its 200 objects:
  // message 15046, then back to the select tool unless AUTO_INSERT is on.
  void InsertObjectRefused(std::int16_t UserType);

  // ---- Forwarding members of the view ----------------------------------------
  // One undo snapshot (before a batch of property values).
  void SavedDoc();
  // Commits the canvas geometry into the records.
  void SaveData();
  // The select tool.
  void SetBaseTool();
  // Grid, view flags, work area and the label size into the canvas.
  void SetParameter();
  void SetNewKey(std::int32_t& lKey);

  // ---- Insertion state (kept for the rest of the run) ------------------------
  QString InsertFieldName;
  QString InsertFormatText;
  QString InsertImagePath;
  std::int16_t InsertImageNumber = 0;
  std::int16_t CurrentPage = 0;

 private:
  template <class F>
  void ForEachSelected(F&& f);
  void EditField();
  void SeriesCopies();
  void ChooseBackground(bool border);
  void ReplacePicture(const QString& source);
  void FillNewRecord(ObjectRecord& record, std::int32_t lKey, std::int16_t UserType);
  void AfterInsert();

  CanvasPort& m_canvas;
};

// Copies a picture file into the temp folder under targetPath, replacing a
// file of that name only once the whole copy was written. False when the
// source cannot be read or the copy cannot be written.
bool CopyPictureFile(const QString& source, const QString& targetPath);

}  // namespace pv
