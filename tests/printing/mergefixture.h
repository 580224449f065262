#pragma once
// Merge sources for the printing tests: dBASE tables written with shapelib,
// registered in the test's program database, and formats to lay them on.
#include "printfixture.h"

#include "core/database.h"
#include "datasources/connectionstring.h"
#include "datasources/registrations.h"
#include "datasources/sourcerecordset.h"
#include "datasources/tablecache.h"

#include <shapefil.h>

#include <QDir>
#include <QFile>

#include <functional>

namespace printtest {

// Row i (0-based) of a written table. NOTE is Null, blanks only or text
// with blanks around it in turn.
struct MergeRow {
  QByteArray nome, citta, note;
  bool noteNull = false;
  int num = 0;
  double saldo = 0;
};

inline MergeRow DefaultRow(int i) {
  static const char* const cities[] = {"Roma", "Milano", "Bari"};
  MergeRow r;
  r.nome = QStringLiteral("Nome%1").arg(i, 5, 10, QLatin1Char('0')).toLatin1();
  r.citta = cities[i % 3];
  r.noteNull = i % 3 == 0;
  r.note = i % 3 == 1 ? QByteArray("   ") : "  nota " + QByteArray::number(i) + "  ";
  r.num = i + 1;
  r.saldo = i * 1.5;
  return r;
}

// Writes `folder`/`table`.dbf with `rows` rows: NOME, CITTA, NOTE (text),
// NUM (integer), SALDO (number with two decimals).
inline void WriteMergeTable(const QString& folder, const QString& table, int rows,
                            const std::function<MergeRow(int)>& row = DefaultRow) {
  QDir().mkpath(folder);
  const QByteArray file = QFile::encodeName(QDir(folder).filePath(table + QStringLiteral(".dbf")));
  DBFHandle h = DBFCreateEx(file.constData(), "LDID/87");
  ASSERT_NE(h, nullptr);
  DBFAddField(h, "NOME", FTString, 20, 0);
  DBFAddField(h, "CITTA", FTString, 20, 0);
  DBFAddField(h, "NOTE", FTString, 20, 0);
  DBFAddField(h, "NUM", FTInteger, 9, 0);
  DBFAddField(h, "SALDO", FTDouble, 12, 2);
  for (int i = 0; i < rows; ++i) {
    const MergeRow r = row(i);
    DBFWriteStringAttribute(h, i, 0, r.nome.constData());
    DBFWriteStringAttribute(h, i, 1, r.citta.constData());
    if (r.noteNull) {
      DBFWriteNULLAttribute(h, i, 2);
    } else {
      DBFWriteStringAttribute(h, i, 2, r.note.constData());
    }
    DBFWriteIntegerAttribute(h, i, 3, r.num);
    DBFWriteDoubleAttribute(h, i, 4, r.saldo);
  }
  DBFClose(h);
}

// Writes `folder`/`table`.dbf holding no dBASE table at all.
inline void WriteDamagedTable(const QString& folder, const QString& table) {
  QDir().mkpath(folder);
  QFile damaged(QDir(folder).filePath(table + QStringLiteral(".dbf")));
  ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
  damaged.write(QByteArray(700, '\x7f'));
}

inline QString DBaseConnection(const QString& folder) {
  return pv::BuildConnectionString(pv::kSourceDBaseIII, folder, false, {}, {});
}

class MergeTest : public PrintTest {
 protected:
  void SetUp() override {
    PrintTest::SetUp();
    OfficePrinter(pv::PrinterCaps{254, 254, 0, 0, 210, 297});
    // 2 x 2 labels of 20 x 10 mm, and 3 x 3 of the same size.
    AddFormats({QStringLiteral("'T-4', 20, 10, 2, 2, 5, 0, 5, 0, 5, 5, 60, 35"),
                QStringLiteral("'T-9', 20, 10, 3, 3, 5, 0, 5, 0, 5, 5, 85, 50")});
    pv::Header.LabelFormatCode = QStringLiteral("T-4");
    pv::Header.LabelWidth = 20;
    pv::Header.LabelHeight = 10;
    pv::PrintRun().ResetPrinterInformation();
    pv::ClearTableCache();
    controls.controlInformation = 0;
  }

  // A user registration of table `table` in `folder`; its ID.
  qint64 Register(const QString& folder, const QString& table, const QString& connection = {}) {
    pv::Registration r;
    r.label = table;
    r.connectionString = connection.isEmpty() ? DBaseConnection(folder) : connection;
    r.recordSetName = table;
    r.sourceName = folder;
    r.sourceFormat = pv::kSourceDBaseIII;
    return pv::RegistrationStore(pv::rsRegistrations).Add(r);
  }

  // Writes a table of `rows` rows in the program folder and registers it.
  qint64 RegisterRows(int rows, const QString& table = QStringLiteral("clienti")) {
    const QString folder = Home(QStringLiteral("dati"));
    WriteMergeTable(folder, table, rows);
    return Register(folder, table);
  }

  // The merge recordset's values of a column, record by record.
  static QStringList Column(const QString& name) {
    QStringList out;
    pv::SourceRecordset* rs = pv::PrintRun().MergeRecordset();
    if (rs == nullptr) return out;
    const int index = rs->FieldIndex(name);
    for (int i = 0; i < rs->RecordCount(); ++i) out << rs->ValueAt(i, index).toString();
    return out;
  }

  int CountBoxes(int number) const {
    const QString text = pv::LoadResString(number);
    int n = 0;
    for (const auto& b : boxes) n += b.text == text && b.icon == pv::MsgIcon::Information ? 1 : 0;
    return n;
  }
};

}  // namespace printtest
