#pragma once
// Shared set-up of the main window's tests: the shell's set-up over the
// program's own hosts (a program folder of its own for every test, message
// boxes recorded and answered), a stand-in print system, and views and
// commands that record what the main window calls on them.

#include "core/database.h"
#include "core/hosts.h"
#include "core/settings.h"
#include "app/wiring.h"
#include "app/window/mainwnd.h"
#include "views/popups.h"
#include "app/window/services.h"
#include "views/views.h"
#include "document/hosts.h"
#include "document/model.h"
#include "platform/msgbox.h"
#include "platform/printer/printer.h"
#include "platform/programfolder.h"
#include "platform/stringtable.h"
#include "tests/app/apptest.h"

#include <QApplication>
#include <QLocale>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <memory>
#include <vector>

namespace wndtest {

// Every call the main window makes on its views and on the outside, in
// order, as "Member:argument" texts.
inline QStringList& Calls() {
  static QStringList calls;
  return calls;
}

class RecModelData : public pv::ModelDataView {
 public:
  using ModelDataView::ModelDataView;
  void Init() override { Calls() << QStringLiteral("ModelData.Init"); }
  void Apply(int i) override { Calls() << QStringLiteral("ModelData.Apply:%1").arg(i); }
};

class RecEditCard : public pv::EditCardView {
 public:
  using EditCardView::EditCardView;
  void Exec(const QString& key, int code) override { Calls() << QStringLiteral("Exec:%1,%2").arg(key).arg(code); }
  void SetBaseTool() override { Calls() << QStringLiteral("EditCard.SetBaseTool"); }
  void SetParameter() override { Calls() << QStringLiteral("EditCard.SetParameter"); }
};

class RecDataBaseData : public pv::DataBaseDataView {
 public:
  using DataBaseDataView::DataBaseDataView;
  void Init() override { Calls() << QStringLiteral("DataBaseData.Init"); }
};

class RecFormatData : public pv::FormatDataView {
 public:
  using FormatDataView::FormatDataView;
  void RefreshData(const QString& code) override { Calls() << QStringLiteral("FormatData.RefreshData:") + code; }
  void ShowSummary(bool b) override {
    // The archive is still hidden when its summary is redrawn.
    Calls() << QStringLiteral("FormatData.ShowSummary:%1:%2").arg(b ? 1 : 0).arg(isHidden() ? "hidden" : "shown");
  }
  void Import() override { Calls() << QStringLiteral("FormatData.Import"); }
};

class RecPreviewData : public pv::PreviewDataView {
 public:
  using PreviewDataView::PreviewDataView;
  void Init() override { Calls() << QStringLiteral("PreviewData.Init"); }
  void ResetPrinterInformation() override { Calls() << QStringLiteral("PreviewData.ResetPrinterInformation"); }
  void ReloadPrinterInfo() override {
    Calls() << QStringLiteral("PreviewData.ReloadPrinterInfo");
    if (OnReload) OnReload();
  }
  // What the panel does when it reads the printer again (a test's stand-in).
  inline static std::function<void()> OnReload;
};

// The recording views; `editCard` makes another editor view where a test
// wants one.
class RecViews : public pv::ViewFactory {
 public:
  pv::ModelDataView* MakeModelData(QWidget* p) override { return new RecModelData(p); }
  pv::EditCardView* MakeEditCard(QWidget* p) override { return editCard ? editCard(p) : new RecEditCard(p); }
  pv::DataBaseDataView* MakeDataBaseData(QWidget* p) override { return new RecDataBaseData(p); }
  pv::FormatDataView* MakeFormatData(QWidget* p) override { return new RecFormatData(p); }
  pv::PreviewDataView* MakePreviewData(QWidget* p) override { return new RecPreviewData(p); }
  std::function<pv::EditCardView*(QWidget*)> editCard;
};

class RecCommands : public pv::MainWndCommands {
 public:
  bool openResult = false;
  bool NewDocument() override {
    Calls() << QStringLiteral("NewDocument");
    return true;
  }
  bool OpenDocument() override {
    Calls() << QStringLiteral("OpenDocument");
    return openResult;
  }
  bool SaveDocument(bool b) override {
    Calls() << QStringLiteral("SaveDocument:%1").arg(b ? 1 : 0);
    return true;
  }
  void ShowPrinterSetup() override { Calls() << QStringLiteral("ShowPrinterSetup"); }
  void SaveSettings() override { Calls() << QStringLiteral("SaveSettings"); }
  void EndProgram() override { Calls() << QStringLiteral("EndProgram"); }
  void ShowOptions(QWidget*) override { Calls() << QStringLiteral("ShowOptions"); }
  void ShowAbout(QWidget*) override { Calls() << QStringLiteral("ShowAbout"); }
  void ShowHelp(QWidget*, bool search) override { Calls() << QStringLiteral("ShowHelp:%1").arg(search ? 1 : 0); }
  void LiveUpdate() override { Calls() << QStringLiteral("LiveUpdate"); }
};

// The program's own hosts, with recording views and commands in place.
class WindowTest : public apptest::ShellTest {
 protected:
  WindowTest() : ShellTest(true) {}
  void SetUp() override {
    QLocale::setDefault(QLocale::c());
    ShellTest::SetUp();
    if (HasFatalFailure()) return;
    pv::ResetDocumentState();
    Calls().clear();
    print.printers = {QStringLiteral("Ufficio")};
    print.defaultPrinter = QStringLiteral("Ufficio");
    print.caps = pv::PrinterCaps{600, 600, 25, 30};
    pv::SetFakePrintSystem(&print);
    pv::SetViewFactory(&views);
    pv::SetCommands(&commands);
    for (int i = 0; i < pv::PopUpCount; ++i) pv::PopUpUnloaded(i);
  }
  void TearDown() override {
    RecPreviewData::OnReload = nullptr;
    pv::DestroyMainWnd();
    for (int i = 0; i < pv::PopUpCount; ++i) pv::PopUpUnloaded(i);
    ShellTest::TearDown();
    QLocale::setDefault(QLocale::system());
  }
  // Recorded among the calls too; answered from `answers` in turn while
  // there are any, then with `answer`.
  pv::MsgAnswer OnMsgBox(const pv::MsgBoxRequest& r) override {
    Calls() << QStringLiteral("MsgBox:%1").arg(r.text.left(20));
    if (!answers.empty()) {
      const pv::MsgAnswer a = answers.front();
      answers.pop_front();
      return a;
    }
    return answer;
  }

  // The main window, built (InitGui) but not loaded.
  pv::MainWnd& Window() {
    pv::MainWnd& w = pv::GetMainWnd();
    w.InitGui();
    return w;
  }

  std::deque<pv::MsgAnswer> answers;
  pv::FakePrintSystem print;
  RecCommands commands;
  RecViews views;
};

}  // namespace wndtest
