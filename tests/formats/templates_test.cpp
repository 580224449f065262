// The delivered data-merge templates: the files the build wrote read back
// through the document reader as the table in code has them, each has the
// size of a delivered print format, and every field names a column of the
// sample address list or a predefined field.
#include "core/seed.h"
#include "document/predefinedfields.h"
#include "datasources/readers/sourcereader.h"
#include "document/labelfile.h"
#include "document/pageorigin.h"
#include "formats/templatedesigns.h"
#include "tests/support/app_fixture.h"

#include <QDir>
#include <QFile>
#include <QSet>

#include <gtest/gtest.h>

namespace {

class DeliveredTemplates : public pv::test::AppFixture {};

QString ProgramDir(const QString& relative) { return QDir(QStringLiteral(PLAVIK_PROGRAM_DIR)).filePath(relative); }

TEST_F(DeliveredTemplates, TheBuiltFilesReadBackAsTheTableHasThem) {
  const QDir folder(ProgramDir(QStringLiteral("graphics/template")));
  QStringList expected;
  for (const pv::DeliveredTemplate& t : pv::DeliveredTemplates()) expected << pv::TemplateFileName(t.ID_TEMPLATE);
  QStringList found = folder.entryList(QDir::Files, QDir::Name);
  expected.sort();
  EXPECT_EQ(found, expected);
  ASSERT_GE(pv::DeliveredTemplates().size(), 6u);

  for (const pv::DeliveredTemplate& t : pv::DeliveredTemplates()) {
    SCOPED_TRACE(t.ID_TEMPLATE);
    QFile file(folder.filePath(pv::TemplateFileName(t.ID_TEMPLATE)));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    pv::LabFileContent read;
    QString reason;
    ASSERT_TRUE(pv::ParseLabFile(file.readAll(), read, &reason)) << reason.toStdString();
    const pv::LabFileContent made = pv::DeliveredTemplateContent(t);
    EXPECT_EQ(read.Header, made.Header);
    EXPECT_EQ(read.Header.LabelWidth, t.Width);
    EXPECT_EQ(read.Header.LabelHeight, t.Height);
    EXPECT_TRUE(pv::SameLiveObjects(read.Block, made.Block));
    EXPECT_GE(read.Block.Count, 3);
    EXPECT_TRUE(read.BackgroundName.trimmed().isEmpty());
    EXPECT_TRUE(read.Images.isEmpty());
  }
}

TEST_F(DeliveredTemplates, EachHasExactlyTheSizeOfADeliveredFormat) {
  const pv::SeedTable* formats = nullptr;
  const QList<pv::SeedTable> seed = pv::ProgramDatabaseSeed();
  for (const pv::SeedTable& t : seed) formats = t.table == QLatin1String("rst_format") ? &t : formats;
  ASSERT_NE(formats, nullptr);
  const auto column = [&](const char* name) { return formats->columns.indexOf(QString::fromLatin1(name)); };
  for (const pv::DeliveredTemplate& t : pv::DeliveredTemplates()) {
    SCOPED_TRACE(t.ID_TEMPLATE);
    bool found = false;
    for (const QVariantList& row : formats->rows) {
      if (row[column("Code")].toString() != t.FormatCode) continue;
      found = true;
      EXPECT_EQ(row[column("Width")].toDouble(), t.Width);
      EXPECT_EQ(row[column("Height")].toDouble(), t.Height);
    }
    EXPECT_TRUE(found) << t.FormatCode.toStdString();
  }
}

TEST_F(DeliveredTemplates, FieldsNameTheSampleColumnsOrPredefinedFieldsAndLieOnTheLabel) {
  pv::SourceLocation where;
  where.kind = pv::SourceKind::DBase;
  where.path = ProgramDir(QStringLiteral("database"));
  QSet<QString> columns;
  for (const pv::SourceColumn& c : pv::OpenSourceReader(where)->Columns(QStringLiteral("indirizzi")))
    columns.insert(c.name.toUpper());
  ASSERT_TRUE(columns.contains(QStringLiteral("CODICE")));
  const QSet<QString> predefined{QString::fromLatin1(pv::kPredefinedCounter), QString::fromLatin1(pv::kPredefinedDate),
                                 QString::fromLatin1(pv::kPredefinedRandom)};

  QSet<QString> used;
  bool barcodeFromCode = false;
  for (const pv::DeliveredTemplate& t : pv::DeliveredTemplates()) {
    SCOPED_TRACE(t.ID_TEMPLATE);
    const pv::LabFileContent c = pv::DeliveredTemplateContent(t);
    const pv::PageEdges page = pv::CentredPage(0, 0, pv::EditorWorkAreaSize, pv::EditorWorkAreaSize, t.Width, t.Height);
    for (int i = 1; i <= c.Block.Count; ++i) {
      const pv::ObjectRecord& o = c.Block.Objects[std::size_t(i)];
      const bool field = o.UserType == pv::UserTypeDatabaseField;
      const bool barcodeField = o.UserType == pv::UserTypeBarcode && o.Variant != 0;
      if (field || barcodeField) {
        EXPECT_TRUE(columns.contains(o.Content) || predefined.contains(o.Content)) << o.Content.toStdString();
        used.insert(o.Content);
        barcodeFromCode = barcodeFromCode || (barcodeField && o.Content == QLatin1String("CODICE"));
        if (o.Content == QLatin1String("SALDO")) {
          EXPECT_TRUE(o.FormatText.contains(QChar(0x20AC)));
        }
        if (o.Content == QLatin1String("NASCITA")) {
          EXPECT_EQ(o.FormatText, QStringLiteral("dd/mm/yyyy"));
        }
      }
      // Every object inside the label (what the print path maps).
      const float left = o.GeomType == pv::GeomBox ? o.X1 - o.X2 / 2 : std::min(o.X1, o.X2);
      const float right = o.GeomType == pv::GeomBox ? o.X1 + o.X2 / 2 : std::max(o.X1, o.X2);
      const float top = o.GeomType == pv::GeomBox ? o.Y1 - o.Y2 / 2 : std::min(o.Y1, o.Y2);
      const float bottom = o.GeomType == pv::GeomBox ? o.Y1 + o.Y2 / 2 : std::max(o.Y1, o.Y2);
      EXPECT_GE(left, page.left - 0.01f) << i;
      EXPECT_LE(right, page.right + 0.01f) << i;
      EXPECT_GE(top, page.top - 0.01f) << i;
      EXPECT_LE(bottom, page.bottom + 0.01f) << i;
    }
  }
  EXPECT_TRUE(barcodeFromCode);
  for (const char* name : {"NOME", "COGNOME", "INDIRIZZO", "CAP", "CITTA", "PROV", "SALDO", "NASCITA",
                           "KINTERNAL238547-01", "KINTERNAL238547-02"})
    EXPECT_TRUE(used.contains(QString::fromLatin1(name))) << name;
}

}  // namespace
