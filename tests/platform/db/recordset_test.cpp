#include "platform/db/recordset.h"
#include "tests/support/coreapp.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

void EnsureApp() { pv::test::EnsureCoreApplication(); }

int Scalar(const QString& connection, const QString& sql) {
  QSqlQuery q(QSqlDatabase::database(connection));
  if (!q.exec(sql) || !q.next()) return -999;
  return q.value(0).toInt();
}

// Two tables with a key each (one auto-numbered, one a unique text code) and
// one without any key.
class RecordsetTest : public ::testing::Test {
 protected:
  void SetUp() override {
    EnsureApp();
    ASSERT_TRUE(m_dir.isValid());
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_conn);
    db.setDatabaseName(m_dir.filePath(QStringLiteral("t.db")));
    ASSERT_TRUE(db.open());
    QSqlQuery q(db);
    for (const char* sql : {
             "CREATE TABLE items (ID INTEGER PRIMARY KEY AUTOINCREMENT, Name TEXT COLLATE NOCASE, Qty INTEGER,"
             " Price REAL, Flag INTEGER NOT NULL DEFAULT 0, Note TEXT)",
             "INSERT INTO items (Name, Qty, Price, Note) VALUES ('delta', 1, 4.0, 'x')",
             "INSERT INTO items (Name, Qty, Price, Note) VALUES ('Alfa', 9, 1.5, NULL)",
             "INSERT INTO items (Name, Qty, Price, Note) VALUES ('charlie', 3, 2.5, 'y')",
             "INSERT INTO items (Name, Qty, Price, Note) VALUES ('Bravo', 3, 2.5, NULL)",
             "CREATE TABLE codes (Code TEXT NOT NULL COLLATE NOCASE PRIMARY KEY, Width REAL, LastUsed INTEGER NOT NULL "
             "DEFAULT 0)",
             "INSERT INTO codes (Code, Width) VALUES ('A1', 10)",
             "INSERT INTO codes (Code, Width) VALUES ('B2', 20)",
             "CREATE TABLE plain (A TEXT, B INTEGER)",
             "INSERT INTO plain VALUES ('one', NULL)",
             "INSERT INTO plain VALUES ('two', 2)",
             "CREATE TABLE empty (ID INTEGER PRIMARY KEY, T TEXT)",
         }) {
      ASSERT_TRUE(q.exec(QString::fromLatin1(sql))) << sql;
    }
  }
  void TearDown() override {
    QSqlDatabase::database(m_conn, false).close();
    QSqlDatabase::removeDatabase(m_conn);
  }

  QStringList Names(pv::Recordset& rs) {
    QStringList out;
    for (bool ok = rs.MoveFirst(); ok; ok = rs.MoveNext()) out << rs.Text(QStringLiteral("Name"));
    return out;
  }

  QTemporaryDir m_dir;
  QString m_conn = QStringLiteral("rs-test");
};

TEST_F(RecordsetTest, WalksBothWaysAndKnowsItsEnds) {
  pv::Recordset rs;
  rs.Open(QStringLiteral("items"), m_conn);
  EXPECT_EQ(rs.RecordCount(), 4);
  EXPECT_EQ(Names(rs), (QStringList{"delta", "Alfa", "charlie", "Bravo"}));  // the table's own order
  EXPECT_TRUE(rs.Eof());
  EXPECT_FALSE(rs.MoveNext());  // stays at the end
  EXPECT_TRUE(rs.MoveLast());
  EXPECT_EQ(rs.AbsolutePosition(), 4);
  EXPECT_TRUE(rs.MovePrevious());
  EXPECT_EQ(rs.Text(QStringLiteral("NAME")), QStringLiteral("charlie"));
  rs.MoveFirst();
  EXPECT_FALSE(rs.MovePrevious());
  EXPECT_TRUE(rs.Bof());
  EXPECT_FALSE(rs.Eof());
  EXPECT_THROW(rs.Value(QStringLiteral("Name")), pv::DbError);

  pv::Recordset none;
  none.Open(QStringLiteral("empty"), m_conn);
  EXPECT_FALSE(none.MoveFirst());
  EXPECT_TRUE(none.Bof());
  EXPECT_TRUE(none.Eof());
  EXPECT_EQ(none.RecordCount(), 0);
}

TEST_F(RecordsetTest, FieldsByNameKeepNullAndRefuseUnknownNames) {
  pv::Recordset rs;
  rs.Open(QStringLiteral("items"), m_conn);
  rs.MoveFirst();
  rs.MoveNext();
  EXPECT_TRUE(rs.Value(QStringLiteral("note")).isNull());
  EXPECT_EQ(rs.Text(QStringLiteral("Note")), QString());
  EXPECT_EQ(rs.Value(QStringLiteral("qty")).toInt(), 9);
  EXPECT_EQ(rs.FieldNames(), (QStringList{"ID", "Name", "Qty", "Price", "Flag", "Note"}));
  try {
    rs.Value(QStringLiteral("Missing"));
    ADD_FAILURE();
  } catch (const pv::DbError& e) {
    EXPECT_EQ(e.Number(), pv::DbErrItemNotFound);
  }
  rs.MoveLast();
  rs.MoveNext();
  try {
    rs.Value(QStringLiteral("Name"));
    ADD_FAILURE();
  } catch (const pv::DbError& e) {
    EXPECT_EQ(e.Number(), pv::DbErrNoCurrentRecord);
  }
}

TEST_F(RecordsetTest, FilterNarrowsAndClears) {
  pv::Recordset rs;
  rs.Open(QStringLiteral("items"), m_conn);
  rs.SetFilter(QStringLiteral("Qty = 3"));
  EXPECT_EQ(rs.RecordCount(), 2);
  EXPECT_EQ(rs.Text(QStringLiteral("Name")), QStringLiteral("charlie"));  // moved to the first row left
  EXPECT_EQ(Names(rs), (QStringList{"charlie", "Bravo"}));
  rs.SetFilter(QStringLiteral("Name = 'ALFA'"));
  EXPECT_EQ(Names(rs), (QStringList{"Alfa"}));
  rs.SetFilter(QStringLiteral("Name = 'nobody'"));
  EXPECT_FALSE(rs.MoveFirst());
  EXPECT_TRUE(rs.Eof());
  // A bad criterion is refused and the filter in force stays.
  rs.SetFilter(QStringLiteral("Qty > 2"));
  EXPECT_THROW(rs.SetFilter(QStringLiteral("Qty >> 2")), pv::DbError);
  EXPECT_EQ(rs.Filter(), QStringLiteral("Qty > 2"));
  EXPECT_EQ(rs.RecordCount(), 3);
  rs.SetFilter(QString());
  EXPECT_EQ(rs.RecordCount(), 4);
}

TEST_F(RecordsetTest, FindSearchesForwardFromTheCurrentRow) {
  pv::Recordset rs;
  rs.Open(QStringLiteral("codes"), m_conn);
  rs.MoveFirst();
  EXPECT_TRUE(rs.Find(QStringLiteral("CODE = 'b2'")));
  EXPECT_EQ(rs.Text(QStringLiteral("Code")), QStringLiteral("B2"));
  EXPECT_FALSE(rs.Find(QStringLiteral("CODE = 'A1'")));  // A1 lies behind
  EXPECT_TRUE(rs.Eof());
  rs.MoveFirst();
  EXPECT_FALSE(rs.Find(QStringLiteral("CODE = 'A1'"), 1));  // skipping the current row
  rs.MoveLast();
  EXPECT_TRUE(rs.Find(QStringLiteral("CODE = 'A1'"), 0, false));
  EXPECT_EQ(rs.AbsolutePosition(), 1);
  EXPECT_FALSE(rs.Find(QStringLiteral("Width > 100"), 0, false));
  EXPECT_TRUE(rs.Bof());
}

TEST_F(RecordsetTest, SortOrdersAndRequeryKeepsFilterAndSort) {
  pv::Recordset rs;
  rs.Open(QStringLiteral("items"), m_conn);
  rs.SetSort(QStringLiteral("[Qty] DESC, Name ASC"));
  EXPECT_EQ(Names(rs), (QStringList{"Alfa", "Bravo", "charlie", "delta"}));
  rs.SetSort(QStringLiteral("Name"));
  EXPECT_EQ(Names(rs), (QStringList{"Alfa", "Bravo", "charlie", "delta"}));
  rs.SetFilter(QStringLiteral("Price < 3"));
  {
    QSqlQuery q(QSqlDatabase::database(m_conn));
    ASSERT_TRUE(q.exec(QStringLiteral("INSERT INTO items (Name, Qty, Price) VALUES ('aaa', 0, 0.5)")));
  }
  rs.Requery();
  EXPECT_EQ(Names(rs), (QStringList{"aaa", "Alfa", "Bravo", "charlie"}));
  rs.SetSort(QString());
  EXPECT_EQ(Names(rs), (QStringList{"Alfa", "charlie", "Bravo", "aaa"}));
}

TEST_F(RecordsetTest, AddNewReadsBackItsIdAndDefaults) {
  pv::Recordset rs;
  rs.Open(QStringLiteral("SELECT * FROM items ORDER BY [Name]"), m_conn);
  EXPECT_EQ(rs.BaseTable(), QStringLiteral("items"));
  EXPECT_EQ(Names(rs), (QStringList{"Alfa", "Bravo", "charlie", "delta"}));
  rs.AddNew();
  rs.SetValue(QStringLiteral("Name"), QStringLiteral("echo"));
  rs.SetValue(QStringLiteral("Qty"), 5);
  EXPECT_EQ(rs.Text(QStringLiteral("Name")), QStringLiteral("echo"));  // the pending row is read
  rs.Update();
  EXPECT_EQ(rs.Value(QStringLiteral("ID")).toInt(), 5);
  EXPECT_EQ(rs.Value(QStringLiteral("Flag")).toInt(), 0);  // the column's default, read back
  EXPECT_FALSE(rs.Flag(QStringLiteral("Flag")));
  EXPECT_EQ(rs.RecordCount(), 5);
  EXPECT_EQ(rs.AbsolutePosition(), 5);  // the new row is current, at the end
  EXPECT_EQ(Scalar(m_conn, QStringLiteral("SELECT Qty FROM items WHERE Name = 'echo'")), 5);

  // A Boolean is stored as -1.
  rs.AddNew();
  rs.SetValue(QStringLiteral("Name"), QStringLiteral("foxtrot"));
  rs.SetValue(QStringLiteral("Flag"), true);
  rs.Update();
  EXPECT_EQ(Scalar(m_conn, QStringLiteral("SELECT Flag FROM items WHERE Name = 'foxtrot'")), -1);
  EXPECT_TRUE(rs.Flag(QStringLiteral("Flag")));
}

TEST_F(RecordsetTest, EditsAreWrittenInPlaceAndAMoveCommitsThem) {
  pv::Recordset rs;
  rs.Open(QStringLiteral("codes"), m_conn);
  rs.MoveFirst();
  rs.SetValue(QStringLiteral("Width"), 11.5);
  EXPECT_EQ(rs.Editing(), pv::Recordset::EditMode::Edit);
  rs.Update();
  EXPECT_EQ(Scalar(m_conn, QStringLiteral("SELECT Width * 10 FROM codes WHERE Code = 'A1'")), 115);
  // Changing the key itself finds the row by its old key.
  rs.SetValue(QStringLiteral("Code"), QStringLiteral("A9"));
  rs.MoveNext();  // commits
  EXPECT_EQ(rs.Editing(), pv::Recordset::EditMode::None);
  EXPECT_EQ(Scalar(m_conn, QStringLiteral("SELECT COUNT(*) FROM codes WHERE Code = 'A9'")), 1);
  EXPECT_EQ(Scalar(m_conn, QStringLiteral("SELECT COUNT(*) FROM codes WHERE Code = 'A1'")), 0);
  // CancelUpdate drops a pending change.
  rs.SetValue(QStringLiteral("Width"), 99);
  rs.CancelUpdate();
  EXPECT_EQ(rs.Value(QStringLiteral("Width")).toInt(), 20);
}

TEST_F(RecordsetTest, ADuplicateCodeIsRefusedAndTheRecordsetStaysUsable) {
  pv::Recordset rs;
  rs.Open(QStringLiteral("codes"), m_conn);
  rs.AddNew();
  rs.SetValue(QStringLiteral("Code"), QStringLiteral("a1"));  // the same code, other case
  rs.SetValue(QStringLiteral("Width"), 1);
  try {
    rs.Update();
    ADD_FAILURE() << "duplicate accepted";
  } catch (const pv::DbError& e) {
    EXPECT_LT(e.Number(), 0);
    EXPECT_FALSE(e.Description().isEmpty());
  }
  EXPECT_EQ(rs.Editing(), pv::Recordset::EditMode::None);
  EXPECT_EQ(rs.RecordCount(), 2);
  EXPECT_TRUE(rs.MoveFirst());
  EXPECT_EQ(rs.Text(QStringLiteral("Code")), QStringLiteral("A1"));
  EXPECT_EQ(Scalar(m_conn, QStringLiteral("SELECT COUNT(*) FROM codes")), 2);
  // An edit that would duplicate a code is refused the same way.
  rs.MoveLast();
  rs.SetValue(QStringLiteral("Code"), QStringLiteral("A1"));
  EXPECT_THROW(rs.Update(), pv::DbError);
  EXPECT_EQ(rs.Text(QStringLiteral("Code")), QStringLiteral("B2"));
}

TEST_F(RecordsetTest, DeleteKeepsThePlaceUntilTheNextMove) {
  pv::Recordset rs;
  rs.Open(QStringLiteral("items"), m_conn);
  rs.MoveFirst();
  rs.MoveNext();  // Alfa
  rs.Delete();
  EXPECT_THROW(rs.Value(QStringLiteral("Name")), pv::DbError);
  EXPECT_FALSE(rs.Eof());
  EXPECT_TRUE(rs.MoveNext());
  EXPECT_EQ(rs.Text(QStringLiteral("Name")), QStringLiteral("charlie"));
  EXPECT_EQ(rs.RecordCount(), 3);
  EXPECT_EQ(Scalar(m_conn, QStringLiteral("SELECT COUNT(*) FROM items WHERE Name = 'Alfa'")), 0);
  // The last row deleted: the next move is the end.
  rs.MoveLast();
  rs.Delete();
  EXPECT_FALSE(rs.MoveNext());
  EXPECT_TRUE(rs.Eof());
}

TEST_F(RecordsetTest, BookmarksComeBackToTheirRow) {
  pv::Recordset rs;
  rs.Open(QStringLiteral("items"), m_conn);
  rs.MoveFirst();
  rs.MoveNext();
  rs.MoveNext();
  const auto mark = rs.GetBookmark();
  rs.SetSort(QStringLiteral("Name DESC"));
  EXPECT_TRUE(rs.SetBookmark(mark));
  EXPECT_EQ(rs.Text(QStringLiteral("Name")), QStringLiteral("charlie"));
  rs.SetFilter(QStringLiteral("Qty = 9"));
  EXPECT_FALSE(rs.SetBookmark(mark));
}

TEST_F(RecordsetTest, ATableWithoutKeyIsWrittenByItsOldValues) {
  pv::Recordset rs;
  rs.Open(QStringLiteral("plain"), m_conn);
  rs.MoveFirst();  // ('one', NULL)
  rs.SetValue(QStringLiteral("B"), 1);
  rs.Update();
  EXPECT_EQ(Scalar(m_conn, QStringLiteral("SELECT B FROM plain WHERE A = 'one'")), 1);
  EXPECT_EQ(Scalar(m_conn, QStringLiteral("SELECT B FROM plain WHERE A = 'two'")), 2);
  rs.MoveNext();
  rs.Delete();
  EXPECT_EQ(Scalar(m_conn, QStringLiteral("SELECT COUNT(*) FROM plain")), 1);
}

TEST_F(RecordsetTest, AJoinedQueryIsReadOnly) {
  pv::Recordset rs;
  rs.Open(QStringLiteral("SELECT i.Name, c.Code FROM items i, codes c"), m_conn);
  EXPECT_EQ(rs.RecordCount(), 8);
  EXPECT_TRUE(rs.BaseTable().isEmpty());
  EXPECT_THROW(rs.AddNew(), pv::DbError);
}

TEST_F(RecordsetTest, AClosedRecordsetHasNoRows) {
  pv::Recordset rs;
  EXPECT_FALSE(rs.MoveFirst());
  EXPECT_TRUE(rs.Eof());
  EXPECT_TRUE(rs.Bof());
  EXPECT_EQ(rs.RecordCount(), 0);
  try {
    rs.Value(QStringLiteral("x"));
    ADD_FAILURE();
  } catch (const pv::DbError& e) {
    EXPECT_EQ(e.Number(), pv::DbErrClosed);
  }
  try {
    rs.Open(QStringLiteral("missing_table"), m_conn);
    ADD_FAILURE();
  } catch (const pv::DbError& e) {
    EXPECT_LT(e.Number(), 0);
    EXPECT_TRUE(e.Description().contains(QStringLiteral("missing_table"))) << e.Description().toStdString();
  }
  EXPECT_FALSE(rs.IsOpen());
}

}  // namespace
