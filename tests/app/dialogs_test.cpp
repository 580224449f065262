#include "app/dialogs.h"

#include "apptest.h"

#include <stdexcept>

namespace {

class FakeDialogs : public pv::CommonDialogHost {
 public:
  FakeDialogs() { m_old = pv::SetCommonDialogHost(this); }
  ~FakeDialogs() override { pv::SetCommonDialogHost(m_old); }
  std::optional<pv::FileDialogResult> ShowFileDialog(const pv::FileDialogRequest& r) override {
    requests.push_back(r);
    return result;
  }
  void ShowPrinterSetup() override { throw std::runtime_error("broken"); }

  std::vector<pv::FileDialogRequest> requests;
  std::optional<pv::FileDialogResult> result;

 private:
  pv::CommonDialogHost* m_old = nullptr;
};

TEST(NullToDefault, TableOfValues) {
  const struct {
    QVariant value;
    const char* expected;
  } cases[] = {
      {QVariant(), "dflt"},
      {QVariant(QMetaType::fromType<QString>()), "dflt"},  // a Null text
      {QVariant(QString()), "dflt"},
      {QVariant(QStringLiteral("   ")), "dflt"},
      {QVariant(QStringLiteral("  a  b  ")), "a  b"},
      {QVariant(QStringLiteral("\tx ")), "\tx"},  // only blanks are trimmed
      {QVariant(12), "12"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(pv::NullToDefault(c.value, QStringLiteral("dflt")), QString::fromLatin1(c.expected));
}

TEST(FileDialogFilters, FromTheBarSeparatedForm) {
  EXPECT_EQ(pv::FileDialogFilters(QStringLiteral("Etichetta (*.lab)|*.lab|Tutti i file (*.*)|*.*")),
            (QStringList{"Etichetta (*.lab)", "Tutti i file (*)"}));
  EXPECT_EQ(pv::FileDialogFilters(QStringLiteral("Immagini|*.bmp;*.jpg")), (QStringList{"Immagini (*.bmp *.jpg)"}));
  EXPECT_EQ(pv::FileDialogFilters(QStringLiteral("*.mdb")), (QStringList{"*.mdb"}));
  EXPECT_EQ(pv::FileDialogFilters(QStringLiteral("Origine ODBC|*.mdb")), (QStringList{"Origine ODBC (*.mdb)"}));
}

class DialogTest : public apptest::ShellTest {};

TEST_F(DialogTest, OpenReturnsTheFilterIndexOrMinusOneAndKeepsTheName) {
  FakeDialogs fake;
  const QString existing = Home(QStringLiteral("a.lab"));
  apptest::WriteAll(existing, "x");
  QString name = QStringLiteral("start.lab");

  EXPECT_EQ(pv::ShowOpenDialog(QStringLiteral("lab"), QStringLiteral("Etichetta (*.lab)|*.lab|Tutti i file (*.*)|*.*"),
                               name, QStringLiteral("Apri")),
            -1);  // cancelled
  EXPECT_EQ(name, QStringLiteral("start.lab"));
  ASSERT_EQ(fake.requests.size(), 1u);
  EXPECT_FALSE(fake.requests[0].save);
  EXPECT_EQ(fake.requests[0].fileName, QStringLiteral("start.lab"));
  EXPECT_EQ(fake.requests[0].title, QStringLiteral("Apri"));
  EXPECT_EQ(fake.requests[0].filters.size(), 2);
  EXPECT_EQ(fake.requests[0].filterIndex, 1);

  fake.result = pv::FileDialogResult{Home(QStringLiteral("missing.lab")), 1};
  EXPECT_EQ(pv::ShowOpenDialog(QStringLiteral("lab"), QStringLiteral("*.lab"), name, QString()), -1);  // must exist
  EXPECT_EQ(name, QStringLiteral("start.lab"));

  fake.result = pv::FileDialogResult{existing, 2};
  EXPECT_EQ(pv::ShowOpenDialog(QStringLiteral("lab"), QStringLiteral("a|*.lab|b|*.*"), name, QString()), 2);
  EXPECT_EQ(name, existing);
}

TEST_F(DialogTest, SaveAddsTheDefaultExtension) {
  FakeDialogs fake;
  QString name;
  fake.result = pv::FileDialogResult{Home(QStringLiteral("new")), 1};
  EXPECT_EQ(pv::ShowSaveDialog(QStringLiteral("lab"), QStringLiteral("Etichetta (*.lab)|*.lab"), name,
                               QStringLiteral("Salva")),
            1);
  EXPECT_EQ(name, Home(QStringLiteral("new.lab")));
  EXPECT_TRUE(fake.requests.back().save);
  fake.result.reset();
  EXPECT_EQ(pv::ShowSaveDialog(QStringLiteral("lab"), QStringLiteral("x|*.lab"), name, QString()), -1);
  EXPECT_EQ(name, Home(QStringLiteral("new.lab")));
}

TEST_F(DialogTest, PrinterSetupSwallowsEveryFailure) {
  FakeDialogs fake;
  EXPECT_NO_THROW(pv::ShowPrinterSetup());
}

}  // namespace
