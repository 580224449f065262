#pragma once
// The five views the main window hosts, as the main window and the other
// windows call them. Each is a widget class whose members do nothing here;
// the wizard, the editor, the data-source manager, the format archive and
// the print panel derive from them; the composition root installs the
// factory that makes them (ViewFactory) before the main window is made.

#include "platform/hostslot.h"

#include <QString>
#include <QVariant>
#include <QWidget>

#include <cstdint>

namespace pv {

// "tbr_template": the new-label wizard.
class ModelDataView : public QWidget {
  Q_OBJECT
 public:
  explicit ModelDataView(QWidget* parent = nullptr);
  // Prepares the wizard's lists (once, at start-up, after the database).
  virtual void Init() {}
  // 0 applies the wizard's selection; another index removes the background
  // or border of the page on show.
  virtual void Apply(int iIndex) { (void)iIndex; }
};

// "tbr_editor": the label editor.
class EditCardView : public QWidget {
  Q_OBJECT
 public:
  explicit EditCardView(QWidget* parent = nullptr);
  // One edit or menu command: a command key and the menu item's index
  // (0 for the toolbar's keys). Unknown keys and indexes do nothing.
  virtual void Exec(const QString& strKey, int iCode) {
    (void)strKey;
    (void)iCode;
  }
  // The canvas back to the select tool.
  virtual void SetBaseTool() {}
  virtual void SetFirstPage() {}
  // Grid, view flags and the label size into the canvas.
  virtual void SetParameter() {}
  // One undo snapshot (before a batch of property values).
  virtual void SavedDoc() {}
  // One property code onto the selection (and the default style when
  // bMode is not 0); bRefresh repaints at the end.
  virtual void Apply(int iCode, const QVariant& sValue, int bMode, bool bRefresh) {
    (void)iCode;
    (void)sValue;
    (void)bMode;
    (void)bRefresh;
  }
  // Ticks or clears the switch of a floating window (which opens or closes it).
  virtual void SetShowPop(int iIndex, bool bMode) {
    (void)iIndex;
    (void)bMode;
  }
  // Commits the canvas geometry into the object records.
  virtual void SaveData() {}
  virtual void SetNewKey(std::int32_t lKey) { (void)lKey; }

 signals:
  // The pointer's position over the canvas (document millimetres), for the
  // main window's status bar.
  void StatusCoordChanged(float X, float Y);
  // The edit context menu is wanted at the pointer.
  void EditMenuRequested();
};

// "tbr_archive": the data-source manager.
class DataBaseDataView : public QWidget {
  Q_OBJECT
 public:
  explicit DataBaseDataView(QWidget* parent = nullptr);
  virtual void Init() {}
};

// "tbr_formats": the print-format archive.
class FormatDataView : public QWidget {
  Q_OBJECT
 public:
  explicit FormatDataView(QWidget* parent = nullptr);
  virtual void RefreshData(const QString& Code) { (void)Code; }
  virtual void ShowSummary(bool bMode) { (void)bMode; }
  // Imports the user formats of the older archive.
  virtual void Import() {}
};

// "tbr_preview": the print panel.
class PreviewDataView : public QWidget {
  Q_OBJECT
 public:
  explicit PreviewDataView(QWidget* parent = nullptr);
  virtual void Init() {}
  // Reloads the print format of the document's format code.
  virtual void ResetPrinterInformation() {}
  // Re-reads the current printer's resolution and offsets.
  virtual void ReloadPrinterInfo() {}
};

// How the main window makes its views. The program's factory
// (app/wiring.cpp) makes the real ones. The interface's own makes the empty
// views, and its slot reports every use while nothing is installed, so that
// a program without its views fails instead of showing empty ones.
class ViewFactory {
 public:
  virtual ~ViewFactory() = default;
  virtual ModelDataView* MakeModelData(QWidget* parent);
  virtual EditCardView* MakeEditCard(QWidget* parent);
  virtual DataBaseDataView* MakeDataBaseData(QWidget* parent);
  virtual FormatDataView* MakeFormatData(QWidget* parent);
  virtual PreviewDataView* MakePreviewData(QWidget* parent);
};
PV_DECLARE_HOST_SLOT(ViewFactory)
ViewFactory& ViewFactories();
// Takes no ownership; nullptr puts the default back. Returns the previous one.
ViewFactory* SetViewFactory(ViewFactory* factory);

// What a view puts in the program for as long as it lives (its slots'
// installs, app/wiring.cpp). The view keeps it and lets it go before its own
// members go.
class ViewInstalls {
 public:
  virtual ~ViewInstalls() = default;
};

}  // namespace pv
