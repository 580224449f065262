#pragma once
// Shared set-up of the data-source window tests: a program folder of its own
// with a fresh program database (and the sample address list beside it),
// message boxes recorded, the print panel's reloads counted, and sources held
// in memory, reached by the folder or file their connection string names.

#include "core/database.h"
#include "core/hosts.h"
#include "datasources/connectionstring.h"
#include "datasources/registrations.h"
#include "datasources/sourcerecordset.h"
#include "platform/hostslot.h"
#include "tests/app/apptest.h"
#include "tests/datasources/fakereader.h"

#include <QApplication>
#include <QDialog>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTimer>

#include <functional>
#include <map>
#include <memory>

namespace dswin {

// The print panel's reloads.
struct CountingViews : pv::ShellViewsHost {
  int printPanelInits = 0;
  void PrintPanelInit() override { ++printPanelInits; }
};

// A table of text columns.
inline pv::SourceTable Table(const QStringList& columns, const std::vector<QVariantList>& rows = {}) {
  pv::SourceTable t;
  for (const QString& c : columns) t.columns.push_back({c, pv::ColumnType::Text});
  for (const QVariantList& r : rows) t.rows.emplace_back(r.begin(), r.end());
  return t;
}

class WindowsTest : public apptest::ShellTest {
 protected:
  void SetUp() override {
    apptest::ShellTest::SetUp();
    pv::test::EnsureApplication();
    QDir(Home(QString())).mkpath(QStringLiteral("database"));
    QFile::copy(QStringLiteral(PLAVIK_PROGRAM_DIR "/database/indirizzi.dbf"),
                Home(QStringLiteral("database/indirizzi.dbf")));
    pv::OpenDatabase();
    ASSERT_TRUE(boxes.empty());
    m_views.emplace(views);
  }
  void TearDown() override {
    m_views.reset();
    apptest::ShellTest::TearDown();
  }

  // A source in memory at `path` (a dBASE folder, or an Access or Excel file).
  std::shared_ptr<pv::test::FakeSource> Source(const QString& path) {
    auto s = std::make_shared<pv::test::FakeSource>();
    sources[path] = s;
    return s;
  }
  pv::SourceRecordset::ReaderFactory Factory() {
    return [this](const pv::SourceLocation& where) -> std::unique_ptr<pv::SourceReader> {
      ++opened;
      auto it = sources.find(where.path);
      if (it == sources.end()) throw pv::DbError(pv::DbErrProvider, QStringLiteral("non trovato: ") + where.path);
      return std::make_unique<pv::test::FakeReader>(it->second);
    };
  }
  // Stores a dBASE III registration of `table` in folder `folder`.
  qint64 Register(const QString& label, const QString& folder, const QString& table) {
    pv::Registration r;
    r.label = label;
    r.connectionString = pv::BuildConnectionString(pv::kSourceDBaseIII, folder, false, {}, {});
    r.recordSetName = table;
    r.sourceName = folder;
    r.sourceType = 1;
    r.sourceFormat = pv::kSourceDBaseIII;
    return pv::RegistrationStore(pv::rsRegistrations).Add(r);
  }
  void Exec(const QString& sql) {
    QSqlQuery q(QSqlDatabase::database(pv::cnDatabase.ConnectionName));
    ASSERT_TRUE(q.exec(sql)) << sql.toStdString();
  }
  // The texts of the boxes shown, with their icons.
  int Shown(const QString& text, pv::MsgIcon icon) const {
    int n = 0;
    for (const pv::MsgBoxRequest& b : boxes) n += b.text == text && b.icon == icon ? 1 : 0;
    return n;
  }
  int Shown(int number, pv::MsgIcon icon) const { return Shown(pv::LoadResString(number), icon); }

  std::map<QString, std::shared_ptr<pv::test::FakeSource>> sources;
  int opened = 0;
  CountingViews views;

 private:
  std::optional<pv::ScopedHost<pv::ShellViewsHost>> m_views;
};

// Runs `act` on the modal dialog the next call opens, once it shows.
inline void WhenModalOpens(std::function<void(QDialog*)> act) {
  auto* timer = new QTimer;
  timer->setInterval(5);
  QObject::connect(timer, &QTimer::timeout, [timer, act = std::move(act)] {
    auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    if (dialog == nullptr) return;
    timer->stop();
    timer->deleteLater();
    act(dialog);
  });
  timer->start();
}

}  // namespace dswin
