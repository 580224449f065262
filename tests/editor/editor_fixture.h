#pragma once
// The editor's logic over a headless canvas core: a recording port around the
// core's port, recording pickers with scripted answers, services with a
// settable AUTO_INSERT and picture aspect, a recording file dialog and
// message boxes; a fixture that starts each test from an empty document and
// the start style.
#include "document/document.h"
#include "document/canvas/drageditor.h"
#include "editor/canvasport.h"
#include "editor/editcardlogic.h"
#include "editor/pickers.h"
#include "editor/services.h"
#include "editor/style.h"
#include "platform/commondialogs.h"
#include "platform/msgbox.h"
#include "platform/programfolder.h"
#include "platform/stringtable.h"
#include "tests/support/app_fixture.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QStringList>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <deque>
#include <memory>
#include <optional>
#include <vector>

namespace pvtest {

// Records every call of the logic on the canvas, then passes it on.
class RecordingPort : public pv::CanvasPort {
 public:
  explicit RecordingPort(pv::CanvasPort& inner) : m_inner(inner) {}
  QStringList calls;
  // Calls other than the selection iteration and SelCount, which the logic
  // makes to read the selection.
  QStringList actions() const {
    QStringList a;
    for (const QString& c : calls) {
      if (!c.startsWith(QLatin1String("GetFirstObject")) && !c.startsWith(QLatin1String("GetNextObject")) &&
          c != QLatin1String("SelCount"))
        a << c;
    }
    return a;
  }

  void SetTool(std::int16_t t, std::int16_t k) override {
    calls << QStringLiteral("SetTool(%1,%2)").arg(t).arg(k);
    m_inner.SetTool(t, k);
  }
  void SelectAll() override {
    rec("SelectAll");
    m_inner.SelectAll();
  }
  void Undo() override {
    rec("Undo");
    m_inner.Undo();
  }
  void Redo() override {
    rec("Redo");
    m_inner.Redo();
  }
  void SavedDoc() override {
    rec("SavedDoc");
    m_inner.SavedDoc();
  }
  void SetZoom(bool b) override {
    calls << QStringLiteral("SetZoom(%1)").arg(b ? 1 : 0);
    m_inner.SetZoom(b);
  }
  void DelObjects() override {
    rec("DelObjects");
    m_inner.DelObjects();
  }
  void DelObject(std::int32_t key, bool draw) override {
    calls << QStringLiteral("DelObject(%1,%2)").arg(key).arg(draw ? 1 : 0);
    m_inner.DelObject(key, draw);
  }
  void SetAlign(std::int16_t mode, bool refresh) override {
    calls << QStringLiteral("SetAlign(%1,%2)").arg(mode).arg(refresh ? 1 : 0);
    m_inner.SetAlign(mode, refresh);
  }
  void MoveFront() override {
    rec("MoveFront");
    m_inner.MoveFront();
  }
  void MoveBack() override {
    rec("MoveBack");
    m_inner.MoveBack();
  }
  void MoveUp() override {
    rec("MoveUp");
    m_inner.MoveUp();
  }
  void MoveDown() override {
    rec("MoveDown");
    m_inner.MoveDown();
  }
  void RotateObject(float a) override {
    calls << QStringLiteral("RotateObject(%1)").arg(a);
    m_inner.RotateObject(a);
  }
  std::int32_t SelCount() override {
    rec("SelCount");
    return m_inner.SelCount();
  }
  std::int32_t GetFirstObject(bool b) override {
    rec("GetFirstObject");
    return m_inner.GetFirstObject(b);
  }
  std::int32_t GetNextObject(bool b) override {
    rec("GetNextObject");
    return m_inner.GetNextObject(b);
  }
  void Refresh(bool b) override {
    calls << QStringLiteral("Refresh(%1)").arg(b ? 1 : 0);
    m_inner.Refresh(b);
  }
  void SetNewKey(std::int32_t& k) override {
    rec("SetNewKey");
    m_inner.SetNewKey(k);
  }
  void SetGrid(float dx, float dy, bool r) override {
    calls << QStringLiteral("SetGrid(%1,%2,%3)").arg(dx).arg(dy).arg(r ? 1 : 0);
    m_inner.SetGrid(dx, dy, r);
  }
  void SetShowRule(bool v) override {
    calls << QStringLiteral("SetShowRule(%1)").arg(v ? 1 : 0);
    m_inner.SetShowRule(v);
  }
  void SetShowGrid(bool v) override {
    calls << QStringLiteral("SetShowGrid(%1)").arg(v ? 1 : 0);
    m_inner.SetShowGrid(v);
  }
  void SetSnap(bool v) override {
    calls << QStringLiteral("SetSnap(%1)").arg(v ? 1 : 0);
    m_inner.SetSnap(v);
  }
  void SetShowPage(bool v) override {
    calls << QStringLiteral("SetShowPage(%1)").arg(v ? 1 : 0);
    m_inner.SetShowPage(v);
  }
  void SetWorkArea(double w, double h, bool r) override {
    calls << QStringLiteral("SetWorkArea(%1,%2,%3)").arg(w).arg(h).arg(r ? 1 : 0);
    m_inner.SetWorkArea(w, h, r);
  }
  void SetPage(double w, double h, bool r) override {
    calls << QStringLiteral("SetPage(%1,%2,%3)").arg(w).arg(h).arg(r ? 1 : 0);
    m_inner.SetPage(w, h, r);
  }

 private:
  void rec(const char* name) { calls << QString::fromLatin1(name); }
  pv::CanvasPort& m_inner;
};

// Pickers answering from scripts (nothing scripted = the default answer,
// "cancelled") and recording what they were shown.
struct RecordingPickers : pv::EditorPickers {
  QStringList calls;
  std::deque<pv::FieldPickerAnswer> fieldAnswers;
  std::optional<pv::FieldPickerPreset> lastPreset;
  bool lastPresetNull = false;
  QString clipAnswer;
  std::int16_t shapeAnswer = -1;
  QString backgroundAnswer;
  bool lastBackgroundMode = false;
  pv::ArrayAnswer arrayAnswer;
  // The barcode dialog: what it saw, and what it confirms (nullopt = Cancel).
  pv::BarcodeSettingsRecord barcodeSeen;
  std::optional<pv::BarcodeSettingsRecord> barcodeConfirm;

  pv::FieldPickerAnswer ShowFieldPicker(const pv::FieldPickerPreset* preset) override {
    calls << QStringLiteral("dlgFieldPropety");
    lastPresetNull = preset == nullptr;
    if (preset) lastPreset = *preset;
    if (fieldAnswers.empty()) return {};
    pv::FieldPickerAnswer a = fieldAnswers.front();
    fieldAnswers.pop_front();
    return a;
  }
  QString ShowClipArt() override {
    calls << QStringLiteral("DlgClipArt");
    return clipAnswer;
  }
  std::int16_t ShowShapePicker() override {
    calls << QStringLiteral("dlgShape");
    return shapeAnswer;
  }
  QString ShowBackGround(bool bMode) override {
    calls << QStringLiteral("dlgBackGround(%1)").arg(bMode ? 1 : 0);
    lastBackgroundMode = bMode;
    return backgroundAnswer;
  }
  pv::ArrayAnswer ShowArray() override {
    calls << QStringLiteral("dlgArray");
    return arrayAnswer;
  }
  std::int16_t ShowCodeBar() override {
    calls << QStringLiteral("dlgCodeBar");
    barcodeSeen = pv::BarcodeSettings;
    if (!barcodeConfirm) return 0;
    pv::BarcodeSettings = *barcodeConfirm;
    return -1;
  }
};

struct FakeServices : pv::EditorServices {
  std::int16_t autoInsert = 0;
  double aspect = 1.0;
  QStringList aspectPaths;
  std::int16_t AutoInsert() override { return autoInsert; }
  double ImageAspect(const QString& path) override {
    aspectPaths << path;
    return aspect;
  }
};

struct RecordingFileDialog : pv::CommonDialogHost {
  std::vector<pv::FileDialogRequest> calls;
  std::optional<QString> answer;  // nullopt = Cancel
  std::optional<pv::FileDialogResult> ShowFileDialog(const pv::FileDialogRequest& r) override {
    calls.push_back(r);
    if (!answer) return std::nullopt;
    return pv::FileDialogResult{*answer, 1};
  }
};

class EditorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    pv::test::EnsureGuiApplication();
    pv::ResetDocumentState();
    pv::ResetDefaultStyle();
    pv::BarcodeSettings = {};
    pv::ClearTempImageFolder();
    canvas = std::make_unique<pv::DragEditor>(nullptr, 600, 400);
    documentCanvas.emplace(*canvas);
    port = std::make_unique<pv::DragEditorPort>(*canvas);
    recorder = std::make_unique<RecordingPort>(*port);
    logic = std::make_unique<pv::EditCardLogic>(*recorder);
    pv::SetEditorPickers(&pickers);
    pv::SetEditorServices(&services);
    pv::SetCommonDialogHost(&fileDialog);
    pv::SetMessageBoxHost(&messageBoxes);
    ASSERT_TRUE(sources.isValid());
  }
  void TearDown() override {
    logic.reset();
    recorder.reset();
    port.reset();
    documentCanvas.reset();
    canvas.reset();
    pv::SetEditorPickers(nullptr);
    pv::SetEditorServices(nullptr);
    pv::SetCommonDialogHost(nullptr);
    pv::SetMessageBoxHost(nullptr);
    pv::ClearTempImageFolder();
    pv::ResetDocumentState();
    pv::ResetDefaultStyle();
  }

  // What the canvas does at the end of a drawing drag: refuse at 200
  // objects, else append with an undo snapshot and raise InsertObject.
  std::int32_t Draw(std::int16_t kind, float cx = 50, float cy = 40, float w = 20, float h = 10) {
    if (pv::ObjCount >= pv::MaxObjects) {
      logic->InsertObjectRefused(kind);
      return 0;
    }
    const std::int16_t tool = kind == pv::UserTypeLine ? pv::GeomLine : pv::GeomBox;
    const std::int32_t key = pv::AddObject(cx, cy, w, h, 0, tool, kind, false);
    if (key != 0) logic->InsertObject(key, kind);
    return key;
  }
  // Appends a record directly (no snapshot), selected or not.
  static std::int32_t Put(std::int16_t kind, bool selected = true) {
    const std::int32_t key = pv::AddObject(50, 40, 20, 10, 0, pv::GeomTypeOf(kind), kind, false);
    pv::ObjectRecord& r = Rec(key);
    r.UserType = kind;
    r.IsSelected = selected ? -1 : 0;
    return key;
  }
  static pv::ObjectRecord& Rec(std::int32_t key) {
    return pv::Objects[static_cast<std::size_t>(pv::FindObjectIndex(key))];
  }
  int Shown(int number, pv::MsgIcon icon) const {
    int n = 0;
    for (const pv::MsgBoxRequest& b : boxes) n += (b.text == pv::LoadResString(number) && b.icon == icon) ? 1 : 0;
    return n;
  }
  // A source picture file with the given bytes.
  QString SourceFile(const QString& name, const QByteArray& bytes) {
    const QString path = sources.filePath(name);
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
    return path;
  }
  static QByteArray ReadAll(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {};
    return f.readAll();
  }

  std::unique_ptr<pv::DragEditor> canvas;
  // The canvas is the document's canvas while the test runs.
  std::optional<pv::ScopedHost<pv::CanvasHost>> documentCanvas;
  std::unique_ptr<pv::DragEditorPort> port;
  std::unique_ptr<RecordingPort> recorder;
  std::unique_ptr<pv::EditCardLogic> logic;
  RecordingPickers pickers;
  FakeServices services;
  RecordingFileDialog fileDialog;
  pv::test::RecordedMessageBoxes messageBoxes;
  std::vector<pv::MsgBoxRequest>& boxes = messageBoxes.boxes;
  QTemporaryDir sources;
};

}  // namespace pvtest
