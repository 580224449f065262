#pragma once
// Shared set-up of the print panel's tests: the printing fixture with the
// panel installed as the engine's panel controls, a 3 x 4 sheet of labels,
// a fake print system and the sort and filter dialogs answered by a fake.

#include "../printfixture.h"

#include "app/wiring.h"
#include "datasources/sourcedialogs.h"
#include "printing/panel/clickable.h"
#include "printing/panel/formatbar.h"
#include "printing/panel/optionpanel.h"
#include "printing/panel/previewdata.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QRadioButton>
#include <QToolButton>

#include <memory>

namespace paneltest {

struct FakeSourceDialogs : pv::SourceDialogs {
  QString sortAnswer;
  pv::FilterDialogAnswer filterAnswer;
  int sorts = 0;
  int filters = 0;
  QString sortGiven;
  QString filterGiven;
  QStringList fieldsGiven;
  pv::SourceRecordset* recordsetGiven = nullptr;

  QString ShowSortDialog(const QStringList& fields, const QString& sort) override {
    ++sorts;
    fieldsGiven = fields;
    sortGiven = sort;
    return sortAnswer;
  }
  pv::FilterDialogAnswer ShowFilterDialog(const QStringList& fields, const QString& filter,
                                          pv::SourceRecordset* recordset) override {
    ++filters;
    fieldsGiven = fields;
    filterGiven = filter;
    recordsetGiven = recordset;
    return filterAnswer;
  }
};

class PanelTest : public printtest::PrintTest {
 protected:
  void SetUp() override {
    PrintTest::SetUp();
    OfficePrinter(pv::PrinterCaps{300, 300, 0, 0, 200, 287});
    m_oldSourceDialogs = pv::SetSourceDialogs(&sourceDialogs);
    panel = std::make_unique<pv::PreviewData>();
    panel->resize(800, 600);
    pv::AttachPrintPanel(*panel);
    ThreeByFour();
  }
  void TearDown() override {
    panel.reset();
    pv::SetSourceDialogs(m_oldSourceDialogs);
    PrintTest::TearDown();
  }

  // 3 across and 4 down (P = 12) of 60 x 30 mm on A4; the run one page.
  void ThreeByFour() {
    pv::PanelFormat f;
    f.Sheet.Width = 60;
    f.Sheet.Height = 30;
    f.Sheet.nOri = 3;
    f.Sheet.nVer = 4;
    f.Sheet.TopMargin = 10;
    f.Sheet.LeftMargin = 10;
    f.Sheet.sheetwidth = 210;
    f.Sheet.sheetdepth = 297;
    pv::Header.LabelWidth = 60;
    pv::Header.LabelHeight = 30;
    pv::PrintRun().SetRun(printtest::MakeRun(f, 1, 1, 12, 0));
    panel->SetControlInformation();
  }

  pv::OptionPanel& Options() const { return *panel->Options(); }
  void Type(const QString& count, const QString& first, const QString& last) {
    Options().Text1(0)->setText(count);
    Options().Text1(1)->setText(first);
    Options().Text1(2)->setText(last);
  }
  void Apply() { emit Options().ApplyCaption()->clicked(); }
  int BoxesWith(int id) const {
    int n = 0;
    for (const auto& b : boxes) n += b.text == pv::LoadResString(id) ? 1 : 0;
    return n;
  }

  FakeSourceDialogs sourceDialogs;
  std::unique_ptr<pv::PreviewData> panel;

 private:
  pv::SourceDialogs* m_oldSourceDialogs = nullptr;
};

}  // namespace paneltest
