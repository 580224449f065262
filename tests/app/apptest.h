#pragma once
// Shared set-up of the shell's tests: one application object, a program
// folder of its own for every test, message boxes recorded and answered.

#include "app/database.h"
#include "app/settings.h"
#include "platform/msgbox.h"
#include "platform/printer/printer.h"
#include "platform/programfolder.h"
#include "platform/stringtable.h"
#include "document/model.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <vector>

namespace apptest {

inline void EnsureApp() {
  if (QApplication::instance() == nullptr) {
    static int argc = 1;
    static char name[] = "app_tests";
    static char* argv[] = {name, nullptr};
    new QApplication(argc, argv);
  }
}

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

class ShellTest : public ::testing::Test {
 protected:
  void SetUp() override {
    EnsureApp();
    ASSERT_TRUE(m_home.isValid());
    m_oldHome = qgetenv("PLAVIK_HOME");
    qputenv("PLAVIK_HOME", m_home.path().toLocal8Bit());
    pv::ResetSettings();
    m_oldBox = pv::SetMsgBoxHandler([this](const pv::MsgBoxRequest& r) {
      boxes.push_back(r);
      return OnMsgBox(r);
    });
  }
  // The answer given to a message box once it is recorded in `boxes`.
  virtual pv::MsgAnswer OnMsgBox(const pv::MsgBoxRequest&) { return answer; }
  void TearDown() override {
    pv::CloseDatabase();
    pv::RemoveTempImageFolder();
    pv::ResetDocumentState();
    pv::SetFakePrintSystem(nullptr);
    pv::SetMsgBoxHandler(m_oldBox);
    qputenv("PLAVIK_HOME", m_oldHome);
  }
  QString Home(const QString& name) const { return m_home.filePath(name); }

  std::vector<pv::MsgBoxRequest> boxes;
  pv::MsgAnswer answer = pv::MsgAnswer::Ok;

 private:
  QTemporaryDir m_home;
  QByteArray m_oldHome;
  pv::MsgBoxHandler m_oldBox;
};

}  // namespace apptest
