#pragma once
// Shared set-up of the format tests: a fresh program database in a program
// folder of its own, message boxes recorded, and small builders.

#include "core/database.h"
#include "formats/formatstore.h"
#include "formats/printformat.h"
#include "tests/app/apptest.h"

#include <QLocale>
#include <QSqlDatabase>
#include <QSqlQuery>

namespace formatstest {

class FormatsTest : public apptest::ShellTest {
 protected:
  void SetUp() override {
    apptest::ShellTest::SetUp();
    m_locale = QLocale();
    pv::OpenDatabase();
    ASSERT_TRUE(boxes.empty());
  }
  void TearDown() override {
    QLocale::setDefault(m_locale);
    apptest::ShellTest::TearDown();
  }
  void Exec(const QString& sql) {
    QSqlQuery q(QSqlDatabase::database(pv::cnDatabase.ConnectionName));
    ASSERT_TRUE(q.exec(sql)) << sql.toStdString();
    pv::rsFormat.Requery();
  }
  void EmptyTable() { Exec(QStringLiteral("DELETE FROM rst_format")); }
  std::vector<QString> Codes() {
    std::vector<QString> out;
    for (const pv::PrintFormat& f : pv::AllFormats()) out.push_back(f.Code);
    return out;
  }

 private:
  QLocale m_locale;
};

// A valid format of one label size: 3 x 8 on an A4 sheet.
inline pv::PrintFormat Sheet(const QString& code, double width = 70, double height = 37) {
  pv::PrintFormat f;
  f.Code = code;
  f.Description = QStringLiteral("descrizione");
  f.Category = QStringLiteral("categoria");
  f.printer = QStringLiteral("laser");
  f.Width = width;
  f.Height = height;
  f.nOri = 3;
  f.nVer = 8;
  f.sheetwidth = 210;
  f.sheetdepth = 297;
  f.Type = pv::kFormatUser;
  return f;
}

}  // namespace formatstest
