#pragma once
// Shared set-up of the wizard's tests: a fresh program database, and every
// call the wizard makes on the editor, the print panel, the status bar and the
// main window recorded in one list, in order.

#include "document/hosts.h"
#include "document/model.h"
#include "formats/wizardhost.h"
#include "formats/wizardmodel.h"
#include "tests/formats/formatstest.h"

#include <QString>
#include <QStringList>

namespace wizardtest {

// One log for every host, so that the order across them shows.
struct CallLog {
  QStringList calls;
};

class RecordingEditor : public pv::EditorHost {
 public:
  explicit RecordingEditor(CallLog& log) : m_log(log) {}
  void SetParameter() override {
    m_log.calls << QStringLiteral("SetParameter %1 x %2 %3")
                       .arg(pv::Header.LabelWidth)
                       .arg(pv::Header.LabelHeight)
                       .arg(pv::Header.LabelFormatCode);
  }
  void LoadData() override { m_log.calls << QStringLiteral("LoadData"); }

 private:
  CallLog& m_log;
};

class RecordingPanel : public pv::PrintPanelHost {
 public:
  explicit RecordingPanel(CallLog& log) : m_log(log) {}
  void ResetPrinterInformation() override { m_log.calls << QStringLiteral("ResetPrinterInformation"); }

 private:
  CallLog& m_log;
};

class RecordingStatus : public pv::MainWindowHost {
 public:
  explicit RecordingStatus(CallLog& log) : m_log(log) {}
  void SetStatusBar() override { m_log.calls << QStringLiteral("SetStatusBar"); }
  void SetCaption(const QString&) override {}

 private:
  CallLog& m_log;
};

class RecordingWindow : public pv::WizardWindowHost {
 public:
  explicit RecordingWindow(CallLog& log) : m_log(log) {}
  void SelectView(const QString& key) override { m_log.calls << QStringLiteral("SelectView ") + key; }
  void RefreshMainWindow() override { ++refreshes; }
  void PopupModelMenu() override { m_log.calls << QStringLiteral("PopupModelMenu"); }
  int refreshes = 0;

 private:
  CallLog& m_log;
};

class WizardTest : public formatstest::FormatsTest {
 protected:
  void SetUp() override {
    formatstest::FormatsTest::SetUp();
    pv::SetEditorHost(&editor);
    pv::SetPrintPanelHost(&panel);
    pv::SetMainWindowHost(&status);
    pv::SetWizardWindowHost(&window);
  }
  // Makes `index` the clicked cell (the menu pops up) and forgets the calls.
  void Click(pv::WizardModel& m, int index) {
    m.ClickImage(static_cast<std::int16_t>(index));
    log.calls.clear();
  }

  CallLog log;
  RecordingEditor editor{log};
  RecordingPanel panel{log};
  RecordingStatus status{log};
  RecordingWindow window{log};
};

}  // namespace wizardtest
