#pragma once
// EditCard, the label editor view hosted by the main window ("tbr_editor"):
// on the left a fixed-width panel with the insert palette, the coordinate
// panel with its apply button and the switches of the floating property
// windows; on the right the canvas below a separator line. The view handles
// the canvas's eleven events (drawing through the object drawing, the
// selection and coordinate events), keeps the coordinate panel and the open
// property windows in step with the selection, and forwards the editing
// commands, property codes, palette clicks and new objects to the editor's
// logic (editor/editcardlogic.h), which it owns over its canvas.
//
// It gives the program its canvas as the document's canvas, its logic as
// the document's editor (document/hosts.h) and the canvas's font scale for
// the object drawing; the composition root installs them for as long as the
// view lives (AttachEditCard, app/wiring.cpp). It tells the main window of
// the pointer's position and of the context menu through its signals.
#include "views/views.h"
#include "document/canvas/drageditor.h"
#include "editor/canvasport.h"
#include "editor/editcardlogic.h"
#include "editor/editorhosts.h"
#include "editor/view/editcardhosts.h"
#include "render/hosts.h"

#include <QString>

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;
class QToolButton;

namespace pv {

class DragEditorWidget;

// Stand-ins for an object key in the coordinate panel and an object index in
// the property windows' fillers.
inline constexpr std::int32_t NoSelection = -10;
inline constexpr std::int32_t MultipleSelection = -20;

// The layout's numbers, in pixels (the view's scale unit). The panel is
// wider than its design width where the font needs it (PanelWidth()).
inline constexpr int EditPanelWidth = 180;
inline constexpr int EditContainerLeft = 181;
// The widest value a coordinate box shows within the coordinate limit.
inline constexpr const char* WidestCoordinateText = "-9999.9999";
inline constexpr int EditSeparatorY = 19;
inline constexpr int EditCanvasTop = 20;

// Coordinate values beyond this many millimetres from the label's corner are
// refused (no label sheet comes near it, and the view's pixel arithmetic
// stays exact).
inline constexpr double CoordinateLimit = 10000.0;

// Messages of the coordinate panel's refusals (information icon).
inline constexpr int MsgNotANumber = 15101;
inline constexpr int MsgOutOfLimits = 15102;

class EditCard : public EditCardView, public DragEditorHost {
  Q_OBJECT

 public:
  explicit EditCard(QWidget* parent = nullptr);
  ~EditCard() override;

  // What the view gives the program (see above); its canvas is Canvas().
  EditorHost& DocumentEditor() { return *m_documentEditor; }
  RenderCanvasHost& DrawingFontScale() { return m_fontScale; }
  // Keeps what the program installed from this view until the view goes;
  // it goes first then.
  // Once: the installs of a second call, the same again, go at once.
  void KeepInstalls(std::unique_ptr<ViewInstalls> installs) {
    if (!m_installs) m_installs = std::move(installs);
  }

  // ---- Called by the main window, the document commands and the windows ---
  void Exec(const QString& strKey, int iCode) override;
  void SetBaseTool() override;
  void SetFirstPage() override;
  void SetParameter() override;
  void SavedDoc() override;
  void Apply(int iCode, const QVariant& sValue, int bMode, bool bRefresh) override;
  void SetShowPop(int iIndex, bool bMode) override;
  void SaveData() override;
  void SetNewKey(std::int32_t lKey) override;

  // ---- Coordinate panel ----------------------------------------------------
  // Fills the panel for the key of the one selected object, NoSelection or
  // MultipleSelection.
  void APPLY_DIMENSION(std::int32_t iIndex);
  // Applies the boxes tagged "YES" to every selected object. A box that does
  // not hold an acceptable value is refused with a message, the focus goes
  // back into it and nothing changes. Returns whether it applied.
  bool Set_Dimension();
  void Text1_Change(int Index);
  void Text1_GotFocus(int Index);
  // Cancel becomes true when the focus must stay in the box.
  void Text1_Validate(int Index, bool& Cancel);

  // ---- Property-window synchronisation ---------------------------------
  void SincronizePopWindow();
  // Synchronises the panel and the windows again when the selection, or the
  // geometry of the one selected object, is no longer what they show. Runs
  // after every repaint of the canvas, whatever changed the document.
  void FollowDocument();
  void Apply_PopFont(std::int32_t iIndex);
  void Apply_PopText(std::int32_t iIndex);
  void Apply_PopLinee(std::int32_t iIndex);
  void Apply_PopFill(std::int32_t iIndex);

  // ---- Controls' handlers -----------------------------------------------
  void Image2_Click(int Index);
  void imgApply_Click();
  void lblApply_Click();
  void ShowPop_Click(int Index);
  void Label3_Click(int Index);

  // ---- The canvas's events ------------------------------------------------
  void DrawObject(DcHandle hdc, const OutlinePoints& X, const OutlinePoints& Y, std::int32_t x1, std::int32_t y1,
                  std::int32_t x2, std::int32_t y2, float Angle, std::int32_t lKey, std::int16_t UserType) override;
  void DrawPage(DcHandle hdc, std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2) override;
  void DrawCoord(float X, float Y, float xStart, float yStart, float Dx, float Dy, std::int16_t Button) override;
  void InsertObject(std::int32_t lKey, std::int16_t UserType) override;
  // A drawing the canvas refused because the table holds its 200 objects.
  void InsertRefused(std::int16_t UserType) override;
  void DeleteObject(std::int32_t lKey, std::int16_t UserType) override;
  void SelectionStop() override;
  void SelectedSingle(std::int32_t lKey, std::int16_t UserType) override;
  void SelectedArea(std::int32_t nObjects) override;
  void UpdateObjects() override;
  void SavedDocument() override;
  void ContextMenu() override;

  // ---- Controls -----------------------------------------------------------
  DragEditorWidget* DragEditorControl() const { return m_canvas; }
  DragEditor& Canvas() const;
  // The editor's logic the view forwards to.
  EditCardLogic& Logic() { return *m_logic; }
  QLineEdit* Text1(int Index) const;
  // "YES": the box holds a value to apply; "NO": keep the object's value.
  QString Text1Tag(int Index) const;
  QLabel* Label2(int Index) const;
  QToolButton* Image2(int Index) const;
  QToolButton* imgApply() const { return m_imgApply; }
  QLabel* lblApply() const { return m_lblApply; }
  // Index 0, 1, 3, 4, 5; nullptr for any other.
  QCheckBox* ShowPop(int Index) const;
  QLabel* Label3(int Index) const;
  QWidget* LeftPanel() const { return m_panel; }
  QWidget* Container() const { return m_container; }
  QFrame* SeparatorLine() const { return m_line; }
  QLabel* Heading() const { return m_heading; }
  QLabel* PanelHeading(int i) const { return i == 0 ? m_panelHeading1 : m_panelHeading2; }

  // Lays the view out for its current size.
  void Layout();
  // The panel whole and a strip of the canvas.
  QSize minimumSizeHint() const override;
  // The left panel's width: its design width, or more where the coordinate
  // panel needs it.
  int PanelWidth() const { return m_panelWidth; }

 protected:
  void resizeEvent(QResizeEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // The object drawing's font scale: the canvas's.
  class FontScale : public RenderCanvasHost {
   public:
    explicit FontScale(EditCard& view) : m_view(view) {}
    float FontRatio() override;

   private:
    EditCard& m_view;
  };

  void BuildControls();
  // The coordinate panel's captions and boxes as wide as the longest
  // caption and the widest value need at their fonts; the panel grows when
  // they do not fit its design width.
  void FitCoordinatePanel();
  // A value into box Index; a value wider than the box is shown whole in
  // its tooltip.
  void ShowValue(std::size_t Index, const QString& text);
  void SetCaptions();
  int BoxIndex(QObject* watched) const;
  // The text of box Index read as a number in the user's locale.
  static bool ReadNumber(const QString& text, double& value);
  // Why the text of box Index cannot be applied to the current selection
  // (0: it can; else the message number).
  int Refusal(int Index, const QString& text) const;
  bool SelectionHasBoxObject() const;
  void Refuse(int Index, int message);
  // The focus back into box Index (when it is enabled), its text selected.
  void FocusBack(int Index);

  DragEditorWidget* m_canvas = nullptr;
  QWidget* m_panel = nullptr;
  QWidget* m_container = nullptr;
  QFrame* m_line = nullptr;
  QLabel* m_heading = nullptr;
  QLabel* m_panelHeading1 = nullptr;
  QLabel* m_panelHeading2 = nullptr;
  std::array<QLineEdit*, 5> m_text1{};
  std::array<QString, 5> m_tag{};
  std::array<QLabel*, 5> m_label2{};
  std::array<QToolButton*, 14> m_image2{};
  QToolButton* m_imgApply = nullptr;
  QLabel* m_lblApply = nullptr;
  std::array<QCheckBox*, 6> m_showPop{};
  std::array<QLabel*, 6> m_label3{};
  bool m_refusing = false;
  int m_panelWidth = EditPanelWidth;

  // What the panel was last filled from: the selected keys and, with one
  // object selected, its kind, geometry and the page origin.
  struct PanelSource {
    std::vector<std::int32_t> keys;
    std::int32_t kind = 0;
    std::array<float, 7> geometry{};
    bool operator==(const PanelSource&) const = default;
  };
  static PanelSource CurrentPanelSource();
  PanelSource m_shown;
  bool m_following = false;

  std::unique_ptr<DragEditorPort> m_port;
  std::unique_ptr<EditCardLogic> m_logic;
  std::unique_ptr<EditorDocumentHost> m_documentEditor;
  FontScale m_fontScale{*this};
  std::unique_ptr<ViewInstalls> m_installs;
};

}  // namespace pv
