#include "datasources/connectionstring.h"
#include "datasources/registrations.h"
#include "datasources/sourcerecordset.h"
#include "tests/support/coreapp.h"

#include "core/database.h"
#include "platform/programfolder.h"

#include <QDate>
#include <QFile>
#include <QSqlDatabase>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace pv {
namespace {

// A fresh program database and its shared registrations recordset.
class RegistrationStoreTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::EnsureCoreApplication();
    ASSERT_TRUE(dir.isValid());
    CreateProgramDatabase(dir.filePath(QStringLiteral("plavik.db")));
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), kConnection);
    db.setDatabaseName(dir.filePath(QStringLiteral("plavik.db")));
    ASSERT_TRUE(db.open());
    rs.Open(QStringLiteral("SELECT * FROM rst_registrations ORDER BY [LABEL]"), kConnection);
  }
  void TearDown() override {
    rs.Close();
    QSqlDatabase::database(kConnection).close();
    QSqlDatabase::removeDatabase(kConnection);
  }
  QStringList Labels() {
    QStringList out;
    for (const Registration& r : store.All()) out << r.label;
    return out;
  }
  static Registration Make(const char* label, const char* connection) {
    Registration r;
    r.label = QString::fromUtf8(label);
    r.connectionString = QString::fromUtf8(connection);
    r.recordSetName = QStringLiteral("clienti");
    r.sourceName = QStringLiteral("/dati");
    r.sourceType = 1;
    r.sourceFormat = 2;
    return r;
  }

  const QString kConnection = QStringLiteral("registrations");
  QTemporaryDir dir;
  Recordset rs;
  RegistrationStore store{rs};
};

TEST_F(RegistrationStoreTest, AddRewriteRemoveKeepLabelOrder) {
  ASSERT_EQ(Labels(), QStringList{QStringLiteral("Indirizzi (esempio)")});
  const qint64 zeta = store.Add(Make("Zeta", "DSN=z"));
  const qint64 alfa = store.Add(Make("alfa", "DSN=a"));
  const qint64 twin = store.Add(Make("alfa", "DSN=b"));  // labels need not be unique
  EXPECT_NE(alfa, twin);
  EXPECT_EQ(Labels(), (QStringList{QStringLiteral("alfa"), QStringLiteral("alfa"),
                                   QStringLiteral("Indirizzi (esempio)"), QStringLiteral("Zeta")}));
  const auto found = store.Find(zeta);
  ASSERT_TRUE(found.has_value());
  EXPECT_EQ(found->connectionString, QStringLiteral("DSN=z"));
  EXPECT_EQ(found->recordSetName, QStringLiteral("clienti"));
  EXPECT_EQ(found->sourceName, QStringLiteral("/dati"));
  EXPECT_EQ(found->sourceType, 1);
  EXPECT_EQ(found->sourceFormat, 2);
  EXPECT_FALSE(found->system);
  EXPECT_EQ(rs.Value(QStringLiteral("ID")).toLongLong(), zeta);  // the found row is current

  store.Rewrite(zeta, Make("Beta", "DSN=beta"));
  EXPECT_EQ(Labels(), (QStringList{QStringLiteral("alfa"), QStringLiteral("alfa"), QStringLiteral("Beta"),
                                   QStringLiteral("Indirizzi (esempio)")}));
  EXPECT_EQ(store.Find(zeta)->connectionString, QStringLiteral("DSN=beta"));
  store.Remove(alfa);
  EXPECT_FALSE(store.Find(alfa).has_value());
  EXPECT_TRUE(store.Find(twin).has_value());
  EXPECT_EQ(Labels().size(), 3);
  EXPECT_THROW(store.Remove(alfa), DbError);
  EXPECT_THROW(store.Rewrite(123456, Make("x", "DSN=x")), DbError);
}

TEST_F(RegistrationStoreTest, TheSampleIsBuiltInAndOpensFromTheProgramFolder) {
  const std::vector<Registration> all = store.All();
  ASSERT_EQ(all.size(), 1u);
  const Registration sample = all[0];
  EXPECT_TRUE(sample.system);
  EXPECT_EQ(sample.connectionString, BuildConnectionString(kSourceDBaseIII, QStringLiteral("%PATH%"), false, {}, {}));
  EXPECT_EQ(sample.recordSetName, QStringLiteral("indirizzi"));
  EXPECT_EQ(sample.sourceType, 1);
  EXPECT_EQ(sample.sourceFormat, 1);
  EXPECT_THROW(store.Rewrite(sample.id, Make("x", "DSN=x")), DbError);
  EXPECT_THROW(store.Remove(sample.id), DbError);
  EXPECT_EQ(store.Find(sample.id)->connectionString, sample.connectionString);  // never written back

  // The build put the sample into the program folder; open it from there.
  const QByteArray home = qgetenv("PLAVIK_HOME");
  qputenv("PLAVIK_HOME", PLAVIK_PROGRAM_DIR);
  const QString effective = EffectiveConnectionString(sample);
  EXPECT_TRUE(effective.contains(QStringLiteral(PLAVIK_PROGRAM_DIR "/database/;")));
  SourceRecordset people;
  people.Open(sample);
  EXPECT_EQ(people.RecordCount(), 200);
  EXPECT_EQ(
      people.FieldNames(),
      (QStringList{QStringLiteral("NOME"), QStringLiteral("COGNOME"), QStringLiteral("INDIRIZZO"),
                   QStringLiteral("CAP"), QStringLiteral("CITTA"), QStringLiteral("PROV"), QStringLiteral("NASCITA"),
                   QStringLiteral("CODICE"), QStringLiteral("ATTIVO"), QStringLiteral("SALDO")}));
  EXPECT_EQ(people.FieldType(6), ColumnType::Date);
  EXPECT_EQ(people.FieldType(8), ColumnType::Boolean);
  EXPECT_EQ(people.FieldType(9), ColumnType::Double);
  for (bool more = people.MoveFirst(); more; more = people.MoveNext()) {
    ASSERT_EQ(people.Value(QStringLiteral("codice")).toString().size(), 13);
    ASSERT_TRUE(people.Value(QStringLiteral("nascita")).toDate().isValid());
    ASSERT_FALSE(people.Value(QStringLiteral("nome")).toString().isEmpty());
  }
  people.SetFilter(QStringLiteral("CITTA = 'FORLÌ' OR CITTA LIKE 'cantù'"));
  EXPECT_GT(people.RecordCount(), 0);
  people.SetFilter(QStringLiteral("ATTIVO = True AND SALDO > 0"));
  people.SetSort(QStringLiteral("[SALDO] DESC"));
  ASSERT_TRUE(people.MoveFirst());
  EXPECT_GT(people.Value(QStringLiteral("SALDO")).toDouble(), 0);
  EXPECT_EQ(people.Value(QStringLiteral("ATTIVO")), QVariant(true));
  qputenv("PLAVIK_HOME", home);
}

}  // namespace
}  // namespace pv
