// Loading the document's print format and the printer's values.
#include "printfixture.h"

namespace {

using printtest::ChangeRun;
using printtest::CurrentRun;

class PrinterInfoTest : public printtest::PrintTest {
 protected:
  void SetUp() override {
    PrintTest::SetUp();
    OfficePrinter(pv::PrinterCaps{300, 300, 25, 30, 200, 287});
    AddFormats({QStringLiteral("'O''Brien', 60, 30, 3, 4, 11, 12, 13, 14, 2, 3, 200, 280")});
  }
};

TEST_F(PrinterInfoTest, LoadsTheFormatByCodeAndResetsTheRun) {
  ChangeRun([&](pv::PrintRunValues& r) {
    r.m_PageCount = 9;
    r.m_FirstLabel = 4;
    r.m_LastLabel = 5;
    r.m_RangePages = 2;
    r.m_CountMode = 1;
  });
  pv::PrintRun().SetPageNumber(3);
  pv::Header.LabelFormatCode = QStringLiteral(" O'Brien ");  // an apostrophe breaks no lookup
  pv::PrintRun().ResetPrinterInformation();

  const pv::PanelFormat& f = CurrentRun().m_Format;
  EXPECT_EQ(f.Code, QStringLiteral(" O'Brien").leftJustified(50, QLatin1Char(' ')));
  EXPECT_EQ(f.Sheet.Width, 60);
  EXPECT_EQ(f.Sheet.Height, 30);
  EXPECT_EQ(f.Sheet.nOri, 3);
  EXPECT_EQ(f.Sheet.nVer, 4);
  EXPECT_EQ(f.Sheet.TopMargin, 11);
  EXPECT_EQ(f.bottommarg, 12);
  EXPECT_EQ(f.Sheet.LeftMargin, 13);
  EXPECT_EQ(f.rightmargin, 14);
  EXPECT_EQ(f.Sheet.vertipitch, 2);
  EXPECT_EQ(f.Sheet.horizpitch, 3);
  EXPECT_EQ(f.Sheet.sheetwidth, 200);
  EXPECT_EQ(f.Sheet.sheetdepth, 280);

  const pv::PrinterCaps& printer = pv::ProgramSettings().Printer;
  EXPECT_EQ(printer.DpiX, 300);
  EXPECT_EQ(printer.OffsetY, 30);
  EXPECT_EQ(printer.HorzSize, 200);
  EXPECT_EQ(printer.VertSize, 287);
  ASSERT_EQ(controls.prepared.size(), 1u);
  EXPECT_EQ(controls.prepared[0].w, 200);
  EXPECT_EQ(controls.prepared[0].h, 280);
  EXPECT_EQ(controls.prepared[0].rx, 300);

  EXPECT_EQ(CurrentRun().m_PageCount, 1);
  EXPECT_EQ(CurrentRun().m_FirstLabel, 1);
  EXPECT_EQ(CurrentRun().m_LastLabel, 12);
  EXPECT_EQ(CurrentRun().m_RangePages, 0);
  EXPECT_EQ(CurrentRun().m_CountMode, 0);
  EXPECT_EQ(pv::PrintRun().PageNumber(), 1);
  EXPECT_EQ(controls.controlInformation, 1);
  EXPECT_EQ(controls.formatCaptions, QStringList{QStringLiteral("Formato di stampa: O'Brien")});
  EXPECT_EQ(controls.pageCaptions.back(), QStringLiteral("Numero di pagine: 1 di  1"));
  EXPECT_TRUE(boxes.empty());
}

TEST_F(PrinterInfoTest, UnknownCodeOrDatabaseFailureKeepsThePreviousFormat) {
  pv::Header.LabelFormatCode = QStringLiteral("O'Brien");
  pv::PrintRun().ResetPrinterInformation();
  const pv::PanelFormat loaded = CurrentRun().m_Format;

  pv::Header.LabelFormatCode = QStringLiteral("nowhere' OR '1'='1");
  pv::PrintRun().ResetPrinterInformation();
  EXPECT_EQ(CurrentRun().m_Format.Code, loaded.Code);
  EXPECT_EQ(CurrentRun().m_Format.Sheet.Width, 60);
  EXPECT_TRUE(boxes.empty());  // silently
  EXPECT_EQ(CurrentRun().m_LastLabel, 12);

  pv::CloseDatabase();
  pv::PrintRun().ResetPrinterInformation();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_TRUE(boxes[0].text.startsWith(QStringLiteral("DATA Access error : ")));
  EXPECT_EQ(CurrentRun().m_Format.Sheet.Width, 60);
  EXPECT_EQ(CurrentRun().m_PageCount, 1);  // the panel stays usable
}

TEST_F(PrinterInfoTest, ReloadRereadsThePrinter) {
  pv::Header.LabelFormatCode = QStringLiteral("O'Brien");
  pv::PrintRun().ResetPrinterInformation();

  ASSERT_TRUE(pv::SetCurrentPrinter(QStringLiteral("PDF")));
  pv::PrintRun().ReloadPrinterInfo();
  EXPECT_EQ(pv::ProgramSettings().Printer.DpiX, 600);
  EXPECT_EQ(pv::ProgramSettings().Printer.OffsetX, 0);
  EXPECT_EQ(pv::ProgramSettings().Printer.HorzSize, 210);
  ASSERT_EQ(controls.prepared.size(), 2u);
  EXPECT_EQ(controls.prepared[1].w, 200);
  EXPECT_EQ(controls.prepared[1].rx, 600);

  // A print system that cannot be asked: reported, values kept.
  fake.unavailable = true;
  pv::SetFakePrintSystem(&fake);
  pv::PrintRun().ReloadPrinterInfo();
  EXPECT_EQ(CountPrintingErrors(), 1);
  EXPECT_EQ(pv::ProgramSettings().Printer.DpiX, 600);
}

}  // namespace
