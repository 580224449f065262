#pragma once
// Shared set-up of the shell's tests, on the application fixture: a program
// folder of its own for every test, message boxes recorded and answered.

#include "core/database.h"
#include "core/settings.h"
#include "platform/msgbox.h"
#include "platform/printer/printer.h"
#include "platform/programfolder.h"
#include "platform/stringtable.h"
#include "document/model.h"
#include "tests/support/app_fixture.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <vector>

namespace apptest {

inline QByteArray ReadAll(const QString& file) {
  QFile f(file);
  if (!f.open(QIODevice::ReadOnly)) return {};
  return f.readAll();
}

inline void WriteAll(const QString& file, const QByteArray& bytes) {
  QFile f(file);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
  f.write(bytes);
}

// With `program` set, the program's own hosts are installed first
// (InstallProgramHosts).
class ShellTest : public pv::test::AppFixture {
 protected:
  explicit ShellTest(bool program = false) : AppFixture(program) {}
  void SetUp() override {
    AppFixture::SetUp();
    ASSERT_TRUE(m_home.isValid());
    m_oldHome = qgetenv("PLAVIK_HOME");
    qputenv("PLAVIK_HOME", m_home.path().toLocal8Bit());
    pv::ProgramSettings() = pv::Settings{};
    pv::SetMessageBoxHost(&m_boxes);
  }
  // The answer given to a message box once it is recorded in `boxes`.
  virtual pv::MsgAnswer OnMsgBox(const pv::MsgBoxRequest&) { return answer; }
  void TearDown() override {
    pv::CloseDatabase();
    pv::RemoveTempImageFolder();
    pv::ResetDocumentState();
    pv::SetFakePrintSystem(nullptr);
    qputenv("PLAVIK_HOME", m_oldHome);
    AppFixture::TearDown();
  }
  QString Home(const QString& name) const { return m_home.filePath(name); }

  std::vector<pv::MsgBoxRequest> boxes;
  pv::MsgAnswer answer = pv::MsgAnswer::Ok;

 private:
  // Records every box in `boxes` and answers through OnMsgBox.
  class Boxes : public pv::MessageBoxHost {
   public:
    explicit Boxes(ShellTest& test) : m_test(test) {}
    pv::MsgAnswer Show(const pv::MsgBoxRequest& r) override {
      m_test.boxes.push_back(r);
      return m_test.OnMsgBox(r);
    }

   private:
    ShellTest& m_test;
  };

  QTemporaryDir m_home;
  QByteArray m_oldHome;
  Boxes m_boxes{*this};
};

}  // namespace apptest
