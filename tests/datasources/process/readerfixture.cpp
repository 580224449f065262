#include "readerfixture.h"

#include <shapefil.h>

#include <QDate>
#include <QFile>

#include <sys/wait.h>

#include <cerrno>

namespace pv {

void ExpectNoChildren() {
  int status = 0;
  errno = 0;
  EXPECT_EQ(::waitpid(-1, &status, WNOHANG), -1);
  EXPECT_EQ(errno, ECHILD);
}

void ReaderProcessTest::SetUp() {
  ASSERT_TRUE(m_dir.isValid());
  const QByteArray file = QFile::encodeName(m_dir.filePath(QStringLiteral("clienti.dbf")));
  DBFHandle dbf = DBFCreateEx(file.constData(), "LDID/87");
  ASSERT_NE(dbf, nullptr);
  DBFAddField(dbf, "NOME", FTString, 30, 0);
  DBFAddField(dbf, "NUMERO", FTInteger, 9, 0);
  DBFAddField(dbf, "IMPORTO", FTDouble, 12, 2);
  DBFAddNativeFieldType(dbf, "DATA", 'D', 8, 0);
  DBFAddNativeFieldType(dbf, "ATTIVO", 'L', 1, 0);
  for (int r = 0; r < 300; ++r) {
    DBFWriteStringAttribute(dbf, r, 0, r % 10 == 0 ? "" : ("Niccol\xF2 " + QByteArray::number(r)).constData());
    DBFWriteIntegerAttribute(dbf, r, 1, r * 37 - 5000);
    DBFWriteDoubleAttribute(dbf, r, 2, r * 1.25);
    QByteArray date = QDate(1980, 2, 29).addDays(r).toString(QStringLiteral("yyyyMMdd")).toLatin1();
    if (r % 7 == 0)
      DBFWriteNULLAttribute(dbf, r, 3);
    else
      DBFWriteAttributeDirectly(dbf, r, 3, date.data());
    DBFWriteLogicalAttribute(dbf, r, 4, r % 2 == 0 ? 'T' : 'F');
  }
  DBFClose(dbf);
}

void ReaderProcessTest::ExpectTheTableReads() {
  const SourceTable table = OpenSourceReader(Folder())->ReadTable(QStringLiteral("clienti"));
  EXPECT_EQ(table.rows.size(), 300u);
}

}  // namespace pv
