#pragma once
// Recording stand-ins for the canvas, editor, main window, print panel, file
// dialogs and message boxes, and a fixture that starts every test from the
// start-up state of the document.
#include "document/document.h"
#include "platform/commondialogs.h"
#include "platform/msgbox.h"
#include "platform/programfolder.h"
#include "platform/runtime.h"
#include "platform/stringtable.h"
#include "tests/support/app_fixture.h"

#include <QString>
#include <QStringList>
#include <gtest/gtest.h>

#include <algorithm>

#include <optional>
#include <vector>

namespace pvtest {

struct RecordingCanvas : pv::CanvasHost {
  QStringList calls;  // "Refresh(1)", "Draw(key,mode)", "DeleteObject(key,type)", ...
  void Refresh(bool bMode) override { calls << QStringLiteral("Refresh(%1)").arg(bMode ? 1 : 0); }
  void DrawObjectItem(const pv::ObjectRecord& r, std::int16_t mode) override {
    calls << QStringLiteral("Draw(%1,%2)").arg(r.Key).arg(mode);
  }
  void DeleteObject(std::int32_t key, std::int16_t type) override {
    // The record is still in the table while the event runs.
    const bool present = pv::FindObjectIndex(key) != 0;
    calls << QStringLiteral("DeleteObject(%1,%2%3)").arg(key).arg(type).arg(present ? "" : ",gone");
  }
  void UpdateObjects() override { calls << QStringLiteral("UpdateObjects"); }
  void SavedDocument() override { calls << QStringLiteral("SavedDocument"); }
  void SelectionStop() override { calls << QStringLiteral("SelectionStop"); }
  int count(const QString& prefix) const {
    int n = 0;
    for (const QString& c : calls) n += c.startsWith(prefix) ? 1 : 0;
    return n;
  }
};

struct RecordingHosts : pv::EditorHost, pv::MainWindowHost, pv::PrintPanelHost, pv::CommonDialogHost {
  QStringList calls;
  QString caption;
  // The next answers of the dialogs: a path, or nullopt for Cancel.
  std::vector<std::optional<QString>> answers;
  struct DialogCall {
    QString kind, defaultExt;
    QStringList filters;
    QString fileName, title;
    pv::FileKind files = pv::FileKind::Other;
  };
  std::vector<DialogCall> dialogs;
  // What ResetPrinterInformation saw of the header.
  QStringList formatCodesSeen;

  void SetParameter() override { calls << QStringLiteral("SetParameter"); }
  void Reset() override {
    calls << QStringLiteral("Reset");
    pv::EditorHost::Reset();
  }
  void LoadData() override { calls << QStringLiteral("LoadData"); }
  void SaveData() override {
    calls << QStringLiteral("SaveData");
    pv::EditorHost::SaveData();
  }
  void SetStatusBar() override { calls << QStringLiteral("SetStatusBar"); }
  void SetCaption(const QString& c) override {
    calls << QStringLiteral("SetCaption");
    caption = c;
  }
  void ResetPrinterInformation() override {
    calls << QStringLiteral("ResetPrinterInformation");
    formatCodesSeen << pv::Header.LabelFormatCode;
  }
  std::optional<pv::FileDialogResult> ShowFileDialog(const pv::FileDialogRequest& r) override {
    dialogs.push_back(
        {QString::fromLatin1(r.save ? "save" : "open"), r.defaultExt, r.filters, r.fileName, r.title, r.kind});
    if (answers.empty()) return std::nullopt;
    std::optional<QString> a = answers.front();
    answers.erase(answers.begin());
    if (!a) return std::nullopt;
    return pv::FileDialogResult{*a, 1};
  }
};

class DocumentTest : public ::testing::Test {
 protected:
  RecordingCanvas canvas;
  RecordingHosts hosts;
  pv::test::RecordedMessageBoxes messageBoxes;
  std::vector<pv::MsgBoxRequest>& boxes = messageBoxes.boxes;

  void SetUp() override {
    pv::ResetDocumentState();
    // A label always has a size in the program (start-up gives one).
    pv::Header.LabelWidth = 100;
    pv::Header.LabelHeight = 50;
    pv::SetCanvasHost(&canvas);
    pv::SetEditorHost(&hosts);
    pv::SetMainWindowHost(&hosts);
    pv::SetPrintPanelHost(&hosts);
    pv::SetCommonDialogHost(&hosts);
    pv::SetMessageBoxHost(&messageBoxes);
    pv::ClearTempImageFolder();
  }
  void TearDown() override {
    pv::SetCanvasHost(nullptr);
    pv::SetEditorHost(nullptr);
    pv::SetMainWindowHost(nullptr);
    pv::SetPrintPanelHost(nullptr);
    pv::SetCommonDialogHost(nullptr);
    pv::SetMessageBoxHost(nullptr);
    pv::ClearTempImageFolder();
  }

  // Appends a box or line through AddObject and returns its key.
  static std::int32_t AddBox(float cx, float cy, float w, float h, std::int16_t kind = pv::UserTypeRectangle) {
    return pv::AddObject(cx, cy, w, h, 0, pv::GeomBox, kind, false);
  }
  static std::int32_t AddLine(float x1, float y1, float x2, float y2) {
    return pv::AddObject(x1, y1, x2, y2, 0, pv::GeomLine, pv::UserTypeLine, false);
  }
  static pv::ObjectRecord& Rec(std::int32_t key) {
    return pv::Objects[static_cast<std::size_t>(pv::FindObjectIndex(key))];
  }
  static std::vector<std::int32_t> Keys() {
    std::vector<std::int32_t> k;
    for (int i = 1; i <= pv::ObjCount; ++i) k.push_back(pv::Objects[static_cast<std::size_t>(i)].Key);
    return k;
  }
  // How many boxes showed string-table entry `number` with `icon`.
  int Shown(int number, pv::MsgIcon icon) const {
    int n = 0;
    for (const pv::MsgBoxRequest& b : boxes) n += (b.text == pv::LoadResString(number) && b.icon == icon) ? 1 : 0;
    return n;
  }
};

}  // namespace pvtest
