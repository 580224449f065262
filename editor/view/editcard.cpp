#include "editor/view/editcard.h"

#include "core/hosts.h"
#include "document/canvas/drageditorwidget.h"
#include "document/hosts.h"
#include "document/model.h"
#include "document/objectstore.h"
#include "editor/editorhosts.h"
#include "editor/style.h"
#include "editor/view/paletteicons.h"
#include "platform/msgbox.h"
#include "platform/runtime.h"
#include "platform/stringtable.h"
#include "render/hosts.h"

#include <QCheckBox>
#include <QEvent>
#include <QFocusEvent>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMouseEvent>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QTimer>
#include <QToolButton>

#include <algorithm>
#include <cmath>
#include <vector>

namespace pv {

namespace {

const QString kYes = QStringLiteral("YES");
const QString kNo = QStringLiteral("NO");

// Tooltips of the insert palette, by button.
constexpr std::array<int, 14> kPaletteTips = {13520, 13521, 13522, 13523, 13524, 13525, 13526,
                                              13527, 13528, 13529, 13530, 13531, 13535, 13536};
// Captions of the ShowPop switches, by window index (2 has none).
constexpr std::array<int, 6> kSwitchCaptions = {13510, 13511, 0, 13513, 13514, 13515};
constexpr std::array<int, 5> kSwitchIndexes = {PopFont, PopText, PopLinee, PopFill, PopArtText};

// Whether the panel has a switch for that window index (the image, 2, has
// no window and no switch).
constexpr bool HasSwitch(int index) { return std::ranges::find(kSwitchIndexes, index) != kSwitchIndexes.end(); }

// Captions 0-3 of the coordinate panel for a box-shaped object, a line and
// several objects.
constexpr std::array<int, 4> kBoxCaptions = {15052, 15053, 15054, 15055};
constexpr std::array<int, 4> kLineCaptions = {15056, 15057, 15058, 15059};
constexpr std::array<int, 4> kMultipleCaptions = {15048, 15049, 15050, 15051};

// The order of the text format window's codes.
constexpr std::array<int, 11> kFontCodes = {501, 114, 115, 100, 101, 102, 103, 110, 111, 112, 113};
// Sent last; the window ignores it.
constexpr int kFieldNameCode = 201;

QLocale NumberLocale() {
  QLocale loc;
  loc.setNumberOptions(QLocale::OmitGroupSeparator | QLocale::RejectGroupSeparator);
  return loc;
}

// The text of a stored Single less an origin, in the general form: up to 7
// significant digits, the user's decimal separator. A Single holds 7
// significant digits of the larger of the two, so the difference is rounded
// there first: what a float subtraction leaves below that (8.85 placed on a
// label whose corner is at 23.5 would read 8.849998) is not shown.
QString PanelText(float stored, float origin = 0.0f) {
  double v = static_cast<double>(stored) - static_cast<double>(origin);
  const double magnitude = std::max(std::fabs(static_cast<double>(stored)), std::fabs(static_cast<double>(origin)));
  if (magnitude > 0.0 && std::isfinite(magnitude)) {
    const int decimals = 7 - (static_cast<int>(std::floor(std::log10(magnitude))) + 1);
    const double scale = std::pow(10.0, decimals);
    v = std::round(v * scale) / scale;
  }
  if (v == 0.0) v = 0.0;  // no "-0"
  return NumberLocale().toString(v, 'g', 7);
}

bool ValidIndex(std::int32_t i) { return i >= 1 && i <= ObjCount; }

}  // namespace

// ---- Set-up ----------------------------------------------------------------------

EditCard::EditCard(QWidget* parent) : EditCardView(parent) {
  setObjectName(QStringLiteral("EditCard"));
  BuildControls();
  SetCaptions();
  m_port = std::make_unique<DragEditorPort>(Canvas());
  m_logic = std::make_unique<EditCardLogic>(*m_port);
  m_documentEditor = std::make_unique<EditorDocumentHost>(*m_logic);
  connect(m_canvas, &DragEditorWidget::SurfaceRepainted, this, &EditCard::FollowDocument);
  Layout();
  SincronizePopWindow();
}

float EditCard::FontScale::FontRatio() { return m_view.Canvas().FontRatio(); }

EditCard::~EditCard() {
  m_installs.reset();
  if (m_canvas != nullptr) m_canvas->SetHost(nullptr);
  for (QLineEdit* box : m_text1) {
    if (box != nullptr) box->removeEventFilter(this);
  }
}

void EditCard::BuildControls() {
  m_panel = new QWidget(this);
  m_panel->setObjectName(QStringLiteral("LeftPanel"));
  m_container = new QWidget(this);
  m_container->setObjectName(QStringLiteral("Container"));

  m_heading = new QLabel(m_container);
  m_heading->setObjectName(QStringLiteral("Heading"));
  QFont headingFont = m_heading->font();
  headingFont.setBold(true);
  m_heading->setFont(headingFont);
  m_line = new QFrame(m_container);
  m_line->setObjectName(QStringLiteral("Line1"));
  m_line->setFrameShape(QFrame::HLine);
  m_line->setFrameShadow(QFrame::Plain);
  m_line->setLineWidth(1);
  m_canvas = new DragEditorWidget(m_container, this);
  m_canvas->setObjectName(QStringLiteral("DragEditor"));

  // The insert palette: five buttons to a row.
  for (int i = 0; i < 14; ++i) {
    auto* b = new QToolButton(m_panel);
    b->setObjectName(QStringLiteral("Image2_%1").arg(i));
    b->setIcon(PaletteIcon(i));
    b->setIconSize(QSize(PaletteIconSize, PaletteIconSize));
    b->setAutoRaise(true);
    b->setFocusPolicy(Qt::NoFocus);
    b->setGeometry(4 + (i % 5) * 34, 4 + (i / 5) * 34, 32, 32);
    connect(b, &QToolButton::clicked, this, [this, i] { Image2_Click(i); });
    m_image2[static_cast<std::size_t>(i)] = b;
  }

  // The coordinate panel.
  m_panelHeading1 = new QLabel(m_panel);
  m_panelHeading1->setFont(headingFont);
  m_panelHeading1->setGeometry(4, 112, 172, 16);
  QFont captionFont = m_panel->font();
  captionFont.setPointSizeF(captionFont.pointSizeF() * 0.85);
  for (int i = 0; i < 5; ++i) {
    const int y = 132 + i * 24;
    auto* caption = new QLabel(m_panel);
    caption->setObjectName(QStringLiteral("Label2_%1").arg(i));
    caption->setFont(captionFont);
    caption->setGeometry(4, y, 122, 20);
    auto* box = new QLineEdit(m_panel);
    box->setObjectName(QStringLiteral("Text1_%1").arg(i));
    box->setGeometry(126, y, 50, 20);
    box->installEventFilter(this);
    connect(box, &QLineEdit::textChanged, this, [this, i] { Text1_Change(i); });
    // Enter applies the panel, as the apply button does.
    connect(box, &QLineEdit::returnPressed, this, [this] { Set_Dimension(); });
    m_label2[static_cast<std::size_t>(i)] = caption;
    m_text1[static_cast<std::size_t>(i)] = box;
  }
  FitCoordinatePanel();
  m_imgApply = new QToolButton(m_panel);
  m_imgApply->setObjectName(QStringLiteral("imgApply"));
  m_imgApply->setIcon(ApplyIcon());
  m_imgApply->setIconSize(QSize(PaletteIconSize, PaletteIconSize));
  m_imgApply->setAutoRaise(true);
  m_imgApply->setFocusPolicy(Qt::NoFocus);  // an image: it takes no focus
  m_imgApply->setGeometry(4, 254, 28, 28);
  connect(m_imgApply, &QToolButton::clicked, this, [this] { imgApply_Click(); });
  m_lblApply = new QLabel(m_panel);
  m_lblApply->setObjectName(QStringLiteral("lblApply"));
  m_lblApply->setGeometry(36, 258, 140, 20);
  m_lblApply->setCursor(Qt::PointingHandCursor);
  m_lblApply->installEventFilter(this);

  // The switches of the floating property windows.
  m_panelHeading2 = new QLabel(m_panel);
  m_panelHeading2->setFont(headingFont);
  m_panelHeading2->setGeometry(4, 290, 172, 34);
  m_panelHeading2->setWordWrap(true);
  int row = 0;
  for (int index : kSwitchIndexes) {
    const int y = 326 + row * 22;
    auto* check = new QCheckBox(m_panel);
    check->setObjectName(QStringLiteral("ShowPop_%1").arg(index));
    check->setGeometry(4, y, 20, 20);
    connect(check, &QCheckBox::toggled, this, [this, index] { ShowPop_Click(index); });
    auto* caption = new QLabel(m_panel);
    caption->setObjectName(QStringLiteral("Label3_%1").arg(index));
    caption->setGeometry(26, y, 150, 20);
    caption->installEventFilter(this);
    m_showPop[static_cast<std::size_t>(index)] = check;
    m_label3[static_cast<std::size_t>(index)] = caption;
    ++row;
  }
}

void EditCard::FitCoordinatePanel() {
  // Every caption the rows can show: the set-up's, and those of a box, a
  // line and several objects.
  int caption = 0;
  const QFontMetrics captionMetrics(m_label2[0]->font());
  std::vector<int> messages = {13503, 13504, 13505, 13506, 13507};
  for (const auto* set : {&kBoxCaptions, &kLineCaptions, &kMultipleCaptions})
    messages.insert(messages.end(), set->begin(), set->end());
  for (int message : messages) caption = std::max(caption, captionMetrics.horizontalAdvance(LoadResString(message)));
  caption += 4;  // the label's own margin

  // A line edit's frame and margins around its text, as its size hint
  // counts them, plus the cursor.
  QLineEdit* box = m_text1[0];
  QStyleOptionFrame opt;
  opt.initFrom(box);
  opt.lineWidth = box->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &opt, box);
  const QMargins margins = box->textMargins();
  const QFontMetrics boxMetrics(box->font());
  const int text = boxMetrics.horizontalAdvance(QString::fromLatin1(WidestCoordinateText)) + 2 * 2 + 1 +
                   margins.left() + margins.right();
  const QSize boxSize =
      box->style()->sizeFromContents(QStyle::CT_LineEdit, &opt, QSize(text, boxMetrics.height()), box);
  const int boxWidth = std::max(50, boxSize.width());
  const int boxHeight = std::max(20, std::min(boxSize.height(), 23));

  m_panelWidth = std::max(EditPanelWidth, 4 + caption + 2 + boxWidth + 4);
  const int boxLeft = m_panelWidth - 4 - boxWidth;
  for (std::size_t i = 0; i < m_text1.size(); ++i) {
    const int y = 132 + static_cast<int>(i) * 24;
    m_label2[i]->setGeometry(4, y, boxLeft - 2 - 4, 20);
    m_text1[i]->setGeometry(boxLeft, y, boxWidth, boxHeight);
  }
}

void EditCard::ShowValue(std::size_t Index, const QString& text) {
  QLineEdit* box = m_text1[Index];
  box->setText(text);
  const int room = box->contentsRect().width() - box->textMargins().left() - box->textMargins().right() - 2 * 2 - 1;
  box->setToolTip(QFontMetrics(box->font()).horizontalAdvance(text) > room ? text : LoadResString(13518));
}

void EditCard::SetCaptions() {
  m_panelHeading1->setText(LoadResString(13502));
  for (int i = 0; i < 5; ++i) m_label2[static_cast<std::size_t>(i)]->setText(LoadResString(13503 + i));
  m_lblApply->setText(LoadResString(13508));
  m_panelHeading2->setText(LoadResString(13509));
  for (int index : kSwitchIndexes) {
    const auto k = static_cast<std::size_t>(index);
    m_label3[k]->setText(LoadResString(kSwitchCaptions[k]));
    m_label3[k]->setToolTip(LoadResString(13516));
    m_showPop[k]->setToolTip(LoadResString(13516));
  }
  m_lblApply->setToolTip(LoadResString(13517));
  m_imgApply->setToolTip(LoadResString(13517));
  for (QLineEdit* box : m_text1) box->setToolTip(LoadResString(13518));
  for (std::size_t i = 0; i < m_image2.size(); ++i) m_image2[i]->setToolTip(LoadResString(kPaletteTips[i]));
  m_heading->setText(LoadResString(13532));
}

void EditCard::resizeEvent(QResizeEvent* event) {
  EditCardView::resizeEvent(event);
  Layout();
}

void EditCard::Layout() {
  const int w = width();
  const int h = std::max(0, height());
  // A view narrower than the panel leaves the container empty, never negative.
  const int containerLeft = m_panelWidth + EditContainerLeft - EditPanelWidth;
  const int containerWidth = std::max(0, w - containerLeft);
  m_panel->setGeometry(0, 0, m_panelWidth, h);
  m_container->setGeometry(containerLeft, 0, containerWidth, h);
  m_heading->setGeometry(4, 0, std::max(0, containerWidth - 8), EditSeparatorY);
  m_line->setGeometry(0, EditSeparatorY, containerWidth, 1);
  // Placed rather than only moved: while the view is hidden the canvas still
  // takes its size now, so that what the settings and the document push
  // into it meet the surface it will show.
  m_canvas->Place(QRect(0, EditCanvasTop, containerWidth, std::max(0, h - EditCanvasTop)));
}

QSize EditCard::minimumSizeHint() const {
  int bottom = 0;
  for (const QObject* child : m_panel->children()) {
    if (const auto* w = qobject_cast<const QWidget*>(child)) bottom = std::max(bottom, w->geometry().bottom() + 1);
  }
  return {m_panelWidth + EditContainerLeft - EditPanelWidth + 1, bottom + 4};
}

// ---- Public methods ----------------------------------------------------------------

DragEditor& EditCard::Canvas() const { return m_canvas->Core(); }

void EditCard::Exec(const QString& strKey, int iCode) { m_logic->Exec(strKey, iCode); }

void EditCard::SetBaseTool() { m_logic->SetBaseTool(); }

void EditCard::SetFirstPage() {}

void EditCard::SetParameter() { m_logic->SetParameter(); }

void EditCard::SavedDoc() { m_logic->SavedDoc(); }

void EditCard::Apply(int iCode, const QVariant& sValue, int bMode, bool bRefresh) {
  m_logic->Apply(static_cast<std::int16_t>(iCode), sValue, bMode != 0, bRefresh);
}

void EditCard::SetShowPop(int iIndex, bool bMode) {
  if (QCheckBox* box = ShowPop(iIndex)) box->setChecked(bMode);
}

void EditCard::SaveData() { m_logic->SaveData(); }

void EditCard::SetNewKey(std::int32_t lKey) { m_logic->SetNewKey(lKey); }

// ---- Controls --------------------------------------------------------------------

QLineEdit* EditCard::Text1(int Index) const {
  return Index >= 0 && Index < 5 ? m_text1[static_cast<std::size_t>(Index)] : nullptr;
}

QString EditCard::Text1Tag(int Index) const {
  return Index >= 0 && Index < 5 ? m_tag[static_cast<std::size_t>(Index)] : QString();
}

QLabel* EditCard::Label2(int Index) const {
  return Index >= 0 && Index < 5 ? m_label2[static_cast<std::size_t>(Index)] : nullptr;
}

QToolButton* EditCard::Image2(int Index) const {
  return Index >= 0 && Index < 14 ? m_image2[static_cast<std::size_t>(Index)] : nullptr;
}

QCheckBox* EditCard::ShowPop(int Index) const {
  return HasSwitch(Index) ? m_showPop[static_cast<std::size_t>(Index)] : nullptr;
}

QLabel* EditCard::Label3(int Index) const {
  return HasSwitch(Index) ? m_label3[static_cast<std::size_t>(Index)] : nullptr;
}

int EditCard::BoxIndex(QObject* watched) const {
  for (int i = 0; i < 5; ++i) {
    if (m_text1[static_cast<std::size_t>(i)] == watched) return i;
  }
  return -1;
}

bool EditCard::eventFilter(QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  if (type == QEvent::MouseButtonRelease && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
    if (watched == m_lblApply) {
      lblApply_Click();
      return true;
    }
    for (int index : kSwitchIndexes) {
      if (watched == m_label3[static_cast<std::size_t>(index)]) {
        Label3_Click(index);
        return true;
      }
    }
  }
  const int box = BoxIndex(watched);
  if (box >= 0 && type == QEvent::FocusIn) {
    Text1_GotFocus(box);
    if (static_cast<QFocusEvent*>(event)->reason() == Qt::MouseFocusReason) {
      // The press that gave the focus would place the cursor afterwards.
      QTimer::singleShot(0, this, [this, box] { m_text1[static_cast<std::size_t>(box)]->selectAll(); });
    }
  } else if (box >= 0 && type == QEvent::FocusOut && !m_refusing) {
    const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
    // Leaving the window or opening a menu is not leaving the box.
    if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason && reason != Qt::MenuBarFocusReason) {
      bool cancel = false;
      Text1_Validate(box, cancel);
      if (cancel) {
        QTimer::singleShot(0, this, [this, box] { FocusBack(box); });
      }
    }
  }
  return EditCardView::eventFilter(watched, event);
}

// ---- Coordinate panel ----------------------------------------------------------------

void EditCard::APPLY_DIMENSION(std::int32_t iIndex) {
  if (iIndex == NoSelection) {
    for (std::size_t i = 0; i < 5; ++i) {
      ShowValue(i, QString());
      m_text1[i]->setEnabled(false);
      m_tag[i] = kNo;
    }
    return;
  }
  if (iIndex == MultipleSelection) {
    for (std::size_t i = 0; i < 5; ++i) ShowValue(i, QString());
    for (std::size_t i = 0; i < 4; ++i) m_label2[i]->setText(LoadResString(kMultipleCaptions[i]));
    for (std::size_t i = 0; i < 5; ++i) {
      m_text1[i]->setEnabled(true);
      m_tag[i] = kNo;
    }
    return;
  }
  float x1 = 0, y1 = 0, x2 = 0, y2 = 0, angle = 0;
  DragEditor& c = Canvas();
  c.GetObjectDimension(iIndex, x1, y1, x2, y2, angle);
  const bool line = c.GetUserType(iIndex) == UserTypeLine;
  const std::array<float, 5> v = {x1, y1, x2, y2, angle};
  const std::array<float, 5> origin = {PageOrgX, PageOrgY, line ? PageOrgX : 0.0f, line ? PageOrgY : 0.0f, 0.0f};
  for (std::size_t i = 0; i < 5; ++i) ShowValue(i, PanelText(v[i], origin[i]));
  const std::array<int, 4>& captions = line ? kLineCaptions : kBoxCaptions;
  for (std::size_t i = 0; i < 4; ++i) m_label2[i]->setText(LoadResString(captions[i]));
  for (std::size_t i = 0; i < 5; ++i) {
    m_text1[i]->setEnabled(true);
    m_tag[i] = kYes;
  }
}

bool EditCard::ReadNumber(const QString& text, double& value) {
  const QString t = text.trimmed();
  if (t.isEmpty()) return false;
  bool ok = false;
  const double v = NumberLocale().toDouble(t, &ok);
  if (!ok) return false;
  value = v;
  return true;
}

bool EditCard::SelectionHasBoxObject() const {
  for (std::int32_t i = 1; i <= ObjCount; ++i) {
    const ObjectRecord& r = Objects[static_cast<std::size_t>(i)];
    if (IsTrue(r.IsSelected) && r.UserType != UserTypeLine) return true;
  }
  return false;
}

int EditCard::Refusal(int Index, const QString& text) const {
  double v = 0;
  if (!ReadNumber(text, v)) return MsgNotANumber;
  if (static_cast<float>(v) == KeepValue) return 0;  // the field stays as it is
  if (!std::isfinite(v)) return MsgOutOfLimits;
  if (Index == 4) return 0;  // any angle: reduced to a turn
  if (std::fabs(v) > CoordinateLimit) return MsgOutOfLimits;
  // Boxes 2 and 3 hold the width and the height of a box-shaped object.
  if ((Index == 2 || Index == 3) && v <= 0.0 && SelectionHasBoxObject()) return MsgOutOfLimits;
  return 0;
}

void EditCard::FocusBack(int Index) {
  QLineEdit* box = m_text1[static_cast<std::size_t>(Index)];
  if (box->isEnabled()) {
    box->setFocus(Qt::OtherFocusReason);
    box->selectAll();
  }
}

void EditCard::Refuse(int Index, int message) {
  m_refusing = true;
  MsgBoxRes(message, MsgIcon::Information, MsgButtons::Ok);
  FocusBack(Index);
  m_refusing = false;
}

bool EditCard::Set_Dimension() {
  // Every value is read before the first object changes: the refresh that
  // each change raises rewrites the boxes.
  std::array<float, 5> values{};
  for (int i = 0; i < 5; ++i) {
    const auto k = static_cast<std::size_t>(i);
    values[k] = KeepValue;
    if (m_tag[k] != kYes) continue;
    const QString text = m_text1[k]->text();
    if (const int refusal = Refusal(i, text); refusal != 0) {
      Refuse(i, refusal);
      return false;
    }
    double v = 0;
    ReadNumber(text, v);
    if (static_cast<float>(v) == KeepValue) continue;
    if (i == 4) {
      // Whole degrees within one turn.
      v = std::fmod(RoundHalfEven(v), 360.0);
      if (v < 0) v += 360.0;
    }
    values[k] = static_cast<float>(v);
  }
  std::vector<std::int32_t> keys;
  DragEditor& c = Canvas();
  for (std::int32_t key = c.GetFirstObject(true); key != -1; key = c.GetNextObject(true)) keys.push_back(key);
  for (std::int32_t key : keys) c.SetObjectDimension(key, values[0], values[1], values[2], values[3], values[4], false);
  c.Refresh(false);
  return true;
}

void EditCard::Text1_Change(int Index) {
  if (Index >= 0 && Index < 5) m_tag[static_cast<std::size_t>(Index)] = kYes;
}

void EditCard::Text1_GotFocus(int Index) {
  if (QLineEdit* box = Text1(Index)) box->setSelection(0, static_cast<int>(box->text().size()));
}

void EditCard::Text1_Validate(int Index, bool& Cancel) {
  QLineEdit* box = Text1(Index);
  // A disabled box, or one that holds no value to apply (several objects
  // selected and nothing typed), has nothing to check.
  if (box == nullptr || !box->isEnabled() || m_tag[static_cast<std::size_t>(Index)] != kYes) return;
  const int refusal = Refusal(Index, box->text());
  if (refusal == 0) return;
  Cancel = true;
  if (refusal != MsgNotANumber) {
    m_refusing = true;
    MsgBoxRes(refusal, MsgIcon::Information, MsgButtons::Ok);
    m_refusing = false;
  }
}

// ---- Property-window synchronisation -------------------------------------------------

EditCard::PanelSource EditCard::CurrentPanelSource() {
  PanelSource source;
  std::int32_t selected = 0;
  for (std::int32_t i = 1; i <= ObjCount; ++i) {
    const ObjectRecord& r = Objects[static_cast<std::size_t>(i)];
    if (!IsTrue(r.IsSelected)) continue;
    source.keys.push_back(r.Key);
    selected = i;
  }
  if (source.keys.size() == 1) {
    const ObjectRecord& r = Objects[static_cast<std::size_t>(selected)];
    source.kind = r.UserType;
    float x1 = 0, y1 = 0, x2 = 0, y2 = 0, angle = 0;
    GetObjectDimension(r.Key, x1, y1, x2, y2, angle);
    source.geometry = {x1, y1, x2, y2, angle, PageOrgX, PageOrgY};
  }
  return source;
}

void EditCard::FollowDocument() {
  if (m_following) return;
  PanelSource now = CurrentPanelSource();
  if (now == m_shown) return;
  m_following = true;
  // A repaint may come in the middle of a walk over the table: the walk
  // goes on where it stood.
  const std::int32_t cursor = EnumCursor;
  SincronizePopWindow();
  EnumCursor = cursor;
  m_following = false;
}

void EditCard::SincronizePopWindow() {
  m_shown = CurrentPanelSource();
  DragEditor& c = Canvas();
  const std::int32_t n = c.SelCount();
  std::int32_t index = NoSelection;
  if (n == 0) {
    APPLY_DIMENSION(NoSelection);
  } else if (n == 1) {
    const std::int32_t key = c.GetFirstObject(true);
    index = FindObjectIndex(key);
    APPLY_DIMENSION(key);
  } else {
    index = MultipleSelection;
    APPLY_DIMENSION(MultipleSelection);
  }
  const PropertyWindows& windows = PropertyWindowSet();
  if (windows.Loaded(PopFont)) Apply_PopFont(index);
  if (windows.Loaded(PopText)) Apply_PopText(index);
  if (windows.Loaded(PopLinee)) Apply_PopLinee(index);
  if (windows.Loaded(PopFill)) Apply_PopFill(index);
}

void EditCard::Apply_PopFont(std::int32_t iIndex) {
  PropertyWindows& w = PropertyWindowSet();
  if (iIndex == MultipleSelection) {
    for (int code : kFontCodes) w.FontApply(code, QVariant(MultipleSelection));
    w.FontApply(kFieldNameCode, QVariant(MultipleSelection));
    return;
  }
  QString fontName, content;
  std::int32_t color1 = 0;
  std::int16_t size = 0, alignment = 0;
  std::array<std::int16_t, 4> flags{};
  if (iIndex == NoSelection) {
    const DefaultStyleRecord& s = DefaultStyle;
    color1 = s.Color1;
    fontName = s.FontName;
    size = s.FontSize;
    flags = {s.Bold, s.Italic, s.Underline, s.StrikeOut};
    alignment = s.Alignment;
  } else if (ValidIndex(iIndex)) {
    const ObjectRecord& r = Objects[static_cast<std::size_t>(iIndex)];
    color1 = r.Color1;
    fontName = r.FontName;
    size = r.FontSize;
    flags = {r.Bold, r.Italic, r.Underline, r.StrikeOut};
    alignment = r.Alignment;
    content = r.Content;
  } else {
    return;
  }
  w.FontApply(501, QVariant(color1));
  w.FontApply(114, QVariant(fontName));
  w.FontApply(115, QVariant(static_cast<int>(size)));
  for (std::size_t i = 0; i < 4; ++i) w.FontApply(100 + static_cast<int>(i), QVariant(static_cast<int>(flags[i])));
  w.FontApply(110, QVariant(alignment == 20));
  w.FontApply(111, QVariant(alignment == 22));
  w.FontApply(112, QVariant(alignment == 21));
  w.FontApply(113, QVariant(alignment == 23));
  w.FontApply(kFieldNameCode, QVariant(content));
}

void EditCard::Apply_PopText(std::int32_t iIndex) {
  QString text;
  if (ValidIndex(iIndex)) {
    const ObjectRecord& r = Objects[static_cast<std::size_t>(iIndex)];
    if (r.UserType == UserTypeTextBox || r.UserType == UserTypeArtText) text = r.Content;
  } else if (iIndex != NoSelection && iIndex != MultipleSelection) {
    return;
  }
  PropertyWindowSet().TextApply(0, QVariant(text));
}

void EditCard::Apply_PopLinee(std::int32_t iIndex) {
  PropertyWindows& w = PropertyWindowSet();
  if (iIndex == NoSelection || iIndex == MultipleSelection) {
    const DefaultStyleRecord& s = DefaultStyle;
    w.LineeApply(s.LineColor, QVariant(s.LineStyle), 0, static_cast<std::int16_t>(iIndex));
    return;
  }
  if (!ValidIndex(iIndex)) return;
  const ObjectRecord& r = Objects[static_cast<std::size_t>(iIndex)];
  // Fields, text boxes and pictures have no outline of their own.
  if (r.UserType == UserTypeDatabaseField || r.UserType == UserTypeTextBox || r.UserType == UserTypeImage) {
    w.LineeApply(0, QVariant(0), 0, 1);
  } else {
    w.LineeApply(r.LineColor, QVariant(r.LineStyle), r.Aspect, 1);
  }
}

void EditCard::Apply_PopFill(std::int32_t iIndex) {
  PropertyWindows& w = PropertyWindowSet();
  if (iIndex == NoSelection || iIndex == MultipleSelection) {
    const DefaultStyleRecord& s = DefaultStyle;
    w.FillApply(s.FillStyle, s.Color1, s.Color2, s.Opacity);
    return;
  }
  if (!ValidIndex(iIndex)) return;
  const ObjectRecord& r = Objects[static_cast<std::size_t>(iIndex)];
  w.FillApply(r.FillStyle, r.Color1, r.Color2, r.Opacity);
}

// ---- Controls' handlers ------------------------------------------------------------

void EditCard::Image2_Click(int Index) {
  if (Index >= 0 && Index < 14) m_logic->Image2_Click(Index);
}

void EditCard::imgApply_Click() { Set_Dimension(); }

void EditCard::lblApply_Click() { Set_Dimension(); }

void EditCard::ShowPop_Click(int Index) {
  QCheckBox* box = ShowPop(Index);
  if (box == nullptr) return;
  PropertyWindows& windows = PropertyWindowSet();
  if (box->isChecked()) {
    windows.Load(Index, window());
    SincronizePopWindow();
    windows.Show(Index, window());
  } else if (windows.Loaded(Index)) {
    windows.Unload(Index);
  }
}

void EditCard::Label3_Click(int Index) {
  if (QCheckBox* box = ShowPop(Index)) box->setChecked(!box->isChecked());
}

// ---- The canvas's events -------------------------------------------------------------

void EditCard::DrawObject(DcHandle hdc, const OutlinePoints& X, const OutlinePoints& Y, std::int32_t x1,
                          std::int32_t y1, std::int32_t x2, std::int32_t y2, float Angle, std::int32_t lKey,
                          std::int16_t UserType) {
  EditorDrawing().DrawObject(hdc, X, Y, x1, y1, x2, y2, Angle, lKey, UserType);
}

void EditCard::DrawPage(DcHandle hdc, std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2) {
  EditorDrawing().DrawPage(hdc, x1, y1, x2, y2);
}

void EditCard::DrawCoord(float X, float Y, float, float, float, float, std::int16_t) { emit StatusCoordChanged(X, Y); }

void EditCard::InsertObject(std::int32_t lKey, std::int16_t UserType) { m_logic->InsertObject(lKey, UserType); }

void EditCard::InsertRefused(std::int16_t UserType) { m_logic->InsertObjectRefused(UserType); }

void EditCard::DeleteObject(std::int32_t, std::int16_t) {}

void EditCard::SelectionStop() { SincronizePopWindow(); }

void EditCard::SelectedSingle(std::int32_t, std::int16_t) { SincronizePopWindow(); }

void EditCard::SelectedArea(std::int32_t) { SincronizePopWindow(); }

void EditCard::UpdateObjects() { SincronizePopWindow(); }

void EditCard::SavedDocument() {}

void EditCard::ContextMenu() {
  if (Canvas().SelCount() > 0) emit EditMenuRequested();
}

}  // namespace pv
