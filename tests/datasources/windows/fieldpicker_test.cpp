// The merge-field picker: its tree of predefined fields and registrations,
// the name box and its mark, the kinds of formatting codes with their
// samples, OK and Cancel, and the field tool taking the picked column.
#include "document/predefinedfields.h"
#include "datasources/windows/dlgfieldpropety.h"
#include "datasources/models/fieldpickermodel.h"
#include "datasources/models/formatcodes.h"
#include "datasources/models/sourcecolumns.h"
#include "platform/format.h"
#include "windowstest.h"

#include <QDateTime>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTreeWidget>

#include <gtest/gtest.h>

namespace {

using Model = pv::dlgFieldPropetyModel;

class FieldPickerTest : public dswin::WindowsTest {
 protected:
  void SetUp() override {
    dswin::WindowsTest::SetUp();
    Model::LastFieldSource().clear();
    Model::FieldName().clear();
    Model::FieldFormat().clear();
    auto folder = Source(QStringLiteral("/dati"));
    folder->tables[QStringLiteral("clienti")] = dswin::Table({QStringLiteral("NOME"), QStringLiteral("CITTA")});
    folder->tables[QStringLiteral("ordini")] = dswin::Table({QStringLiteral("NUMERO")});
    Exec(QStringLiteral("DELETE FROM rst_registrations"));
    pv::rsRegistrations.Requery();
  }
  Model::ColumnLister Lister() {
    return [this](const pv::Registration& r) {
      auto factory = Factory();
      return pv::RegistrationColumns(r, factory);
    };
  }
  // "text<children>" of every top node, in order; a broken node is marked "!".
  static QStringList Tree(const Model& m) {
    QStringList out;
    for (const pv::FieldNode& n : m.Nodes()) {
      if (!n.parentKey.isEmpty()) continue;
      QStringList children;
      for (const pv::FieldNode& c : m.Nodes()) {
        if (c.parentKey == n.key) children << c.text;
      }
      out << n.text + (n.broken ? QStringLiteral("!") : QString()) + QLatin1Char('<') +
                 children.join(QLatin1Char(',')) + QLatin1Char('>');
    }
    return out;
  }
  static QString FieldKey(const Model& m, const QString& group, const QString& text) {
    for (const pv::FieldNode& g : m.Nodes()) {
      if (g.text != group || !g.parentKey.isEmpty()) continue;
      for (const pv::FieldNode& n : m.Nodes()) {
        if (n.parentKey == g.key && n.text == text) return n.key;
      }
    }
    return QString();
  }
};

const QString kGroup = QStringLiteral("Campi predefiniti<Contatore,Data corrente,Numero random>");

TEST_F(FieldPickerTest, TheTreeListsEveryRegistrationByIdAndGoesOnPastFailures) {
  Model empty(pv::rsRegistrations, Lister());
  empty.Load(nullptr);
  EXPECT_EQ(Tree(empty), QStringList{kGroup});
  EXPECT_EQ(empty.Nodes()[1].key, QStringLiteral("KINTERNAL238547-01"));
  EXPECT_TRUE(empty.Nodes()[0].predefinedGroup);

  Register(QStringLiteral("A clienti"), QStringLiteral("/dati"), QStringLiteral("clienti"));
  Register(QStringLiteral("B rotta"), QStringLiteral("/manca"), QStringLiteral("clienti"));
  Register(QStringLiteral("C doppia"), QStringLiteral("/dati"), QStringLiteral("ordini"));
  Register(QStringLiteral("C doppia"), QStringLiteral("/dati"), QStringLiteral("clienti"));
  Register(QStringLiteral("D query"), QStringLiteral("/dati"), QStringLiteral("SELECT NUMERO FROM ordini"));
  Register(QStringLiteral("E tabella mancante"), QStringLiteral("/dati"), QStringLiteral("fatture"));
  Register(QStringLiteral("F ultima"), QStringLiteral("/dati"), QStringLiteral("[ORDINI]"));
  Model m(pv::rsRegistrations, Lister());
  m.Load(nullptr);
  EXPECT_EQ(Tree(m), (QStringList{kGroup, QStringLiteral("A clienti<NOME,CITTA>"), QStringLiteral("B rotta!<>"),
                                  QStringLiteral("C doppia<NUMERO>"), QStringLiteral("C doppia<NOME,CITTA>"),
                                  QStringLiteral("D query<NUMERO>"), QStringLiteral("E tabella mancante!<>"),
                                  QStringLiteral("F ultima<NUMERO>")}));
  EXPECT_TRUE(boxes.empty());

  // The dialog shows the broken one greyed.
  pv::dlgFieldPropety dialog(nullptr, Lister());
  dialog.Load(nullptr);
  EXPECT_EQ(dialog.TreeView1()->topLevelItemCount(), 8);
  EXPECT_TRUE(dialog.TreeView1()->topLevelItem(2)->isDisabled());
  EXPECT_FALSE(dialog.TreeView1()->topLevelItem(1)->isDisabled());
  EXPECT_EQ(dialog.TreeView1()->topLevelItem(0)->foreground(0).color(), QColor(0, 0, 255));
}

TEST_F(FieldPickerTest, PickingSetsTheNameBoxAndItsMark) {
  Register(QStringLiteral("Clienti"), QStringLiteral("/dati"), QStringLiteral("clienti"));
  struct Case {
    QString group, field;
    QString name;
    bool enabled;
    QString tag, answer;
  };
  const std::vector<Case> cases = {
      {QStringLiteral("Campi predefiniti"), QStringLiteral("Contatore"), QStringLiteral("Contatore"), false,
       QStringLiteral("1"), QStringLiteral("KINTERNAL238547-01")},
      {QStringLiteral("Campi predefiniti"), QStringLiteral("Data corrente"), QStringLiteral("Data corrente"), false,
       QStringLiteral("2"), QStringLiteral("KINTERNAL238547-02")},
      {QStringLiteral("Campi predefiniti"), QStringLiteral("Numero random"), QStringLiteral("Numero random"), false,
       QStringLiteral("3"), QStringLiteral("KINTERNAL238547-03")},
      {QStringLiteral("Clienti"), QStringLiteral("CITTA"), QStringLiteral("CITTA"), true, QStringLiteral("0"),
       QStringLiteral("CITTA")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.field.toStdString());
    Model m(pv::rsRegistrations, Lister());
    m.Load(nullptr);
    EXPECT_FALSE(m.okEnabled);
    EXPECT_EQ(m.nameText, QString());
    m.ClickNode(m.Nodes()[0].key);  // a group: nothing
    EXPECT_FALSE(m.okEnabled);
    m.ClickNode(FieldKey(m, c.group, c.field));
    EXPECT_EQ(m.nameText, c.name);
    EXPECT_EQ(m.nameEnabled, c.enabled);
    EXPECT_EQ(m.nameTag, c.tag);
    EXPECT_TRUE(m.okEnabled);
    EXPECT_EQ(Model::LastFieldSource(), c.group);
    m.formatText = QStringLiteral("000");
    const pv::FieldPickerAnswer a = m.Ok();
    EXPECT_EQ(a.FieldName, c.answer);
    EXPECT_EQ(a.FieldFormat, QStringLiteral("000"));
  }
  // The group last picked from starts expanded.
  Model again(pv::rsRegistrations, Lister());
  again.Load(nullptr);
  EXPECT_TRUE(again.Nodes()[4].expanded);
  EXPECT_EQ(again.Nodes()[4].text, QStringLiteral("Clienti"));

  // Typing makes the box a column name; Cancel answers nothing.
  Model typed(pv::rsRegistrations, Lister());
  typed.Load(nullptr);
  typed.ClickNode(QStringLiteral("KINTERNAL238547-02"));
  typed.TypeName(QStringLiteral("COGNOME"));
  EXPECT_EQ(typed.nameTag, QStringLiteral("0"));
  EXPECT_EQ(typed.Ok().FieldName, QStringLiteral("COGNOME"));
  typed.ClickNode(QStringLiteral("KINTERNAL238547-02"));
  EXPECT_EQ(typed.Cancel().FieldName, QString());
}

TEST_F(FieldPickerTest, KindsListTheirCodesWithSamplesInAnyOrder) {
  Model m(pv::rsRegistrations, Lister());
  m.Load(nullptr);
  const auto kinds = Model::Kinds();
  ASSERT_EQ(kinds.size(), 6u);
  EXPECT_EQ(kinds[0].text, QStringLiteral("Nessuna"));
  EXPECT_EQ(kinds[2].kind, pv::FormatCurrency);
  // Kinds one after the other, "Nessuna" among them, then again.
  for (int index : {1, 0, 3, 2, 5, 0, 4, 1}) {
    SCOPED_TRACE(index);
    m.formatText = QStringLiteral("x");
    m.ClickKind(index);
    EXPECT_EQ(m.formatText, QString());
    EXPECT_EQ(m.formatSelection, -1);
    const int kind = kinds[static_cast<size_t>(index)].kind;
    const auto codes = pv::FormatCodesOfKind(kind);
    ASSERT_EQ(m.Formats().size(), codes.size());
    EXPECT_EQ(codes.empty(), kind == pv::FormatNone);
    for (size_t i = 0; i < codes.size(); ++i) EXPECT_EQ(m.Formats()[i].id, codes[i].id);
  }
  // Samples by kind.
  m.ClickKind(1);  // Numerica
  const auto numbers = pv::FormatCodesOfKind(pv::FormatNumber);
  ASSERT_GE(numbers.size(), 3u);
  EXPECT_EQ(m.Formats()[2].sample, pv::Format(123.456, numbers[2].format));
  m.ClickFormat(2);
  EXPECT_EQ(m.formatText, numbers[2].format);
  m.ClickKind(2);  // Valuta
  EXPECT_EQ(m.Formats()[0].sample, pv::Format(1000.0, pv::FormatCodesOfKind(pv::FormatCurrency)[0].format));
  m.ClickKind(5);  // Contatore: the codes themselves
  const auto counters = pv::FormatCodesOfKind(pv::FormatCounter);
  for (size_t i = 0; i < counters.size(); ++i) EXPECT_EQ(m.Formats()[i].sample, counters[i].format);
  m.ClickKind(3);  // Data
  const QString now = pv::Format(QDateTime::currentDateTime(), QStringLiteral("yyyy"));
  EXPECT_TRUE(m.Formats().back().sample.contains(now));
  EXPECT_TRUE(pv::FormatSample(pv::FormatTime, QStringLiteral("hh:nn")).contains(QLatin1Char(':')));
}

TEST_F(FieldPickerTest, APresetFillsTheBoxesAndNoPresetLeavesThemEmpty) {
  Model::FieldFormat() = QStringLiteral("dd/mm/yyyy");
  Model::FieldName() = QStringLiteral("VECCHIO");
  Model m(pv::rsRegistrations, Lister());
  m.Load(nullptr);
  EXPECT_EQ(m.nameText, QString());
  EXPECT_EQ(m.formatText, QString());
  EXPECT_FALSE(m.okEnabled);

  pv::FieldPickerPreset preset;
  preset.FieldName = QStringLiteral("Data corrente");
  preset.NameText = QStringLiteral("Data corrente");
  preset.NameTag = QStringLiteral("2");
  preset.FieldFormat = QStringLiteral("yyyy");
  preset.FormatText = QStringLiteral("yyyy");
  Model edit(pv::rsRegistrations, Lister());
  edit.Load(&preset);
  EXPECT_EQ(edit.nameText, QStringLiteral("Data corrente"));
  EXPECT_EQ(edit.nameTag, QStringLiteral("2"));
  EXPECT_EQ(edit.formatText, QStringLiteral("yyyy"));
  EXPECT_TRUE(edit.okEnabled);
  EXPECT_EQ(edit.Ok().FieldName, QStringLiteral("KINTERNAL238547-02"));
  // Cancel: no name, the format as it was.
  Model cancelled(pv::rsRegistrations, Lister());
  cancelled.Load(&preset);
  const pv::FieldPickerAnswer a = cancelled.Cancel();
  EXPECT_EQ(a.FieldName, QString());
  EXPECT_EQ(a.FieldFormat, QStringLiteral("yyyy"));
}

TEST_F(FieldPickerTest, TheDialogStartsWithOkDisabledAndDefault) {
  Register(QStringLiteral("Clienti"), QStringLiteral("/dati"), QStringLiteral("clienti"));
  pv::dlgFieldPropety dialog(nullptr, Lister());
  dialog.Load(nullptr);
  EXPECT_FALSE(dialog.OKButton()->isEnabled());
  EXPECT_TRUE(dialog.OKButton()->isDefault());
  QTreeWidgetItem* city = dialog.TreeItem(FieldKey(dialog.Model(), QStringLiteral("Clienti"), QStringLiteral("CITTA")));
  ASSERT_NE(city, nullptr);
  emit dialog.TreeView1()->itemClicked(city, 0);
  EXPECT_TRUE(dialog.OKButton()->isEnabled());
  EXPECT_EQ(dialog.NameBox()->text(), QStringLiteral("CITTA"));
  emit dialog.KindList()->itemClicked(dialog.KindList()->item(5));
  ASSERT_GT(dialog.FormatList()->count(), 0);
  emit dialog.FormatList()->itemClicked(dialog.FormatList()->item(0));
  EXPECT_EQ(dialog.FormatBox()->text(), dialog.FormatList()->item(0)->text());
  dialog.done(QDialog::Accepted);
  EXPECT_EQ(dialog.Answer().FieldName, QStringLiteral("CITTA"));
  EXPECT_EQ(dialog.Answer().FieldFormat, dialog.FormatList()->item(0)->text());
}

}  // namespace
