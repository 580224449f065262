#pragma once
// Pieces the readers share: the error they throw, the tables of a folder of
// one-file tables (dBASE, Paradox), and the code pages their text comes in.
#include "datasources/readers/sourcereader.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QDate>
#include <QDateTime>
#include <QTime>
#include <QString>
#include <QStringDecoder>

#include <memory>

namespace pv {

[[noreturn]] void ThrowSourceError(const QString& text);
// "The file ... is not a readable <what>." and why, when known.
[[noreturn]] void ThrowUnreadableFile(const QString& path, const QString& what, const QString& why);

// A sink that keeps the table it is given: a reader's ReadTable through its
// ReadTableRows.
class TableCollector : public RowSink {
 public:
  void Columns(const std::vector<SourceColumn>& columns) override { m_table.columns = columns; }
  void Row(std::vector<QVariant>& row) override { m_table.rows.push_back(std::move(row)); }
  void Table(SourceTable&& table) override { m_table = std::move(table); }
  void Reserve(std::size_t rows) override { m_table.rows.reserve(rows); }
  SourceTable Take() { return std::move(m_table); }

 private:
  SourceTable m_table;
};

// The position of a name among names: its exact spelling first, else the
// first that differs only in letter case; -1 when there is none.
qsizetype MatchName(const QStringList& names, const QString& wanted);

// The regular, readable file of a source; throws when there is none.
void RequireReadableFile(const QString& path);

// The tables of a folder: files with the given extension (any letter case),
// named without it, sorted in any case. FolderTableFile finds one by name in
// any case and throws when the folder has no such table.
QStringList FolderTables(const QString& folder, const QString& extension);
QString FolderTableFile(const QString& folder, const QString& table, const QString& extension);
// The file beside a table file with its name and another extension (a
// memo file, a code-page file), in any letter case; empty when there is none.
QString SiblingFile(const QString& table, const QString& extension);
// The extension of the tables of a folder source (dBASE "dbf", Paradox "db");
// empty for the other kinds.
QString FolderTableExtension(SourceKind kind);

// Text in a Windows or DOS code page given by its number (1252, 850, 437,
// 65001 for UTF-8, ...). Unknown or 0 reads as Windows-1252.
class CodePageText {
 public:
  explicit CodePageText(int codePage = 1252);
  QString Decode(QByteArrayView bytes) const;
  int CodePage() const { return m_codePage; }

 private:
  int m_codePage;
  std::shared_ptr<QStringDecoder> m_decoder;  // other code pages; null when unknown
};

// A date from the days after 30 December 1899 (the serial dates of Access and
// Excel) with the time of day in the fraction, as wall-clock time (UTC, so
// no daylight-saving gap moves it).
QDateTime DateTimeFromSerial(double serial);
// A time of day alone, on the day serial dates start from (serial 0).
QDateTime TimeOfDay(QTime time);

std::unique_ptr<SourceReader> OpenDBaseFolder(const QString& folder);
std::unique_ptr<SourceReader> OpenParadoxFolder(const QString& folder);
std::unique_ptr<SourceReader> OpenExcelFile(const QString& path);
std::unique_ptr<SourceReader> OpenAccessFile(const QString& path);
std::unique_ptr<SourceReader> OpenOdbcSource(const SourceLocation& location);

}  // namespace pv
