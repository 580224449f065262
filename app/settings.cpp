#include "app/settings.h"

#include "app/database.h"
#include "app/hosts.h"
#include "app/ini.h"
#include "document/hosts.h"
#include "platform/msgbox.h"
#include "platform/printer/printer.h"
#include "platform/programfolder.h"

namespace pv {

std::int32_t CalibrationX = 0;
std::int32_t CalibrationY = 0;
VbBool PrintArchive = VbFalse;
VbBool PrintBorder = VbFalse;
VbBool PrintLow = VbFalse;
VbBool PrintStopPage = VbFalse;
std::int16_t PrintFieldCode = 0;
std::int16_t PrintFieldCodeIfNull = 0;
std::int16_t PrintCircle = 0;
std::int16_t SettingSmallTemplate = 0;
std::int16_t SettingAntialiasing = 0;
float SettingGridX = 0;
float SettingGridY = 0;
std::int16_t SettingShowGrid = 0;
std::int16_t SettingShowRule = 0;
std::int16_t SettingAutoInsert = 0;
std::int16_t SettingBozza = 0;
std::int16_t SettingSnap = 0;
std::int16_t SettingShowHelp = 0;
QString DefaultPath;

std::int32_t PrinterDpiX = 0;
std::int32_t PrinterDpiY = 0;
std::int32_t PrinterOffsetX = 0;
std::int32_t PrinterOffsetY = 0;

namespace {

const QString kGeneral = QStringLiteral("GENERAL");
const QString kPrinter = QStringLiteral("PRINTER");
const QString kShows = QStringLiteral("SHOWS");
const QString kSetting = QStringLiteral("SETTING");

}  // namespace

void ResetSettings() {
  CalibrationX = CalibrationY = 0;
  PrintArchive = PrintBorder = PrintLow = PrintStopPage = VbFalse;
  PrintFieldCode = PrintFieldCodeIfNull = PrintCircle = 0;
  SettingSmallTemplate = SettingAntialiasing = 0;
  SettingGridX = SettingGridY = 0;
  SettingShowGrid = SettingShowRule = SettingAutoInsert = SettingBozza = SettingSnap = 0;
  SettingShowHelp = 0;
  DefaultPath.clear();
  PrinterDpiX = PrinterDpiY = PrinterOffsetX = PrinterOffsetY = 0;
}

bool LoadSettings() {
  const QString ini = IniFileName();

  // 1. Without a print system the program cannot go on.
  if (!DefaultPrinterName()) {
    MsgBoxRes(15000, MsgIcon::Information, MsgButtons::Ok);
    return false;
  }

  // 2. PRINTER
  CalibrationX = IniToLong(ReadIni(ini, kPrinter, QStringLiteral("CALIBRATION_X")));
  CalibrationY = IniToLong(ReadIni(ini, kPrinter, QStringLiteral("CALIBRATION_Y")));
  PrintArchive = ToVbBool(ReadIniFlag(ini, kPrinter, QStringLiteral("PRINT_ARCHIVE")));
  PrintBorder = ToVbBool(ReadIniFlag(ini, kPrinter, QStringLiteral("PRINT_BORDER")));
  PrintLow = ToVbBool(ReadIniFlag(ini, kPrinter, QStringLiteral("PRINT_LOW")));
  PrintStopPage = ToVbBool(ReadIniFlag(ini, kPrinter, QStringLiteral("PRINT_STOP_PAGE")));
  PrintFieldCode = IniToInteger(ReadIni(ini, kPrinter, QStringLiteral("PRINTFIELDCODE")));
  PrintFieldCodeIfNull = IniToInteger(ReadIni(ini, kPrinter, QStringLiteral("PRINTFIELDCODEIFNULL")));
  PrintCircle = IniToInteger(ReadIni(ini, kPrinter, QStringLiteral("PRINTCIRCLE")));

  // 3. The default printer's capabilities; a system printer that cannot be
  // opened gives way to the built-in PDF printer.
  auto caps = CurrentPrinterCapabilities();
  if (!caps) {
    SetCurrentPrinter(QString::fromLatin1(PdfPrinterName));
    caps = CurrentPrinterCapabilities();
  }
  const PrinterCaps c = caps.value_or(PrinterCaps{});
  PrinterDpiX = c.DpiX;
  PrinterDpiY = c.DpiY;
  PrinterOffsetX = c.OffsetX;
  PrinterOffsetY = c.OffsetY;

  // 4.-6. GENERAL, SHOWS, SETTING
  SettingShowHelp = IniToInteger(ReadIni(ini, kGeneral, QStringLiteral("SHOW_HELP")));
  SettingSmallTemplate = IniToInteger(ReadIni(ini, kShows, QStringLiteral("SMALL_TEMPLATE")));
  SettingAntialiasing = IniToInteger(ReadIni(ini, kShows, QStringLiteral("ANTIALIASING")));
  SettingGridX = IniToSingle(ReadIni(ini, kSetting, QStringLiteral("GRID_X")));
  SettingGridY = IniToSingle(ReadIni(ini, kSetting, QStringLiteral("GRID_Y")));
  SettingShowGrid = IniToInteger(ReadIni(ini, kSetting, QStringLiteral("SHOW_GRID")));
  SettingShowRule = IniToInteger(ReadIni(ini, kSetting, QStringLiteral("SHOW_RULE")));
  SettingAutoInsert = IniToInteger(ReadIni(ini, kSetting, QStringLiteral("AUTO_INSERT")));
  SettingBozza = IniToInteger(ReadIni(ini, kSetting, QStringLiteral("BOZZA")));
  SettingSnap = IniToInteger(ReadIni(ini, kSetting, QStringLiteral("SNAP")));
  ShellDocumentHost& doc = ShellDocument();
  doc.SetLabelSize(IniToLeadingDouble(ReadIni(ini, kSetting, QStringLiteral("LABELWIDTH"))),
                   IniToLeadingDouble(ReadIni(ini, kSetting, QStringLiteral("LABELHEIGHT"))));
  doc.SetLabelFormatCode(IniToText(ReadIni(ini, kSetting, QStringLiteral("FORMATCODE"))));

  // 7. The program database (failures are reported there).
  OpenDatabase();

  // 8. The views that need data before they are first shown.
  ShellViewsHost& views = ShellViews();
  views.DataSourceManagerInit();
  views.WizardInit();
  views.PrintPanelInit();
  views.FormatArchiveRefreshData(QString());

  // 9.-12.
  MainWindow().SetStatusBar();
  ShellStyle().ResetDefaultStyle();
  doc.ClearNames();
  doc.NewDocument();
  return true;
}

void SaveSettings() {
  // 1. The floating windows, in this order.
  ShellPopUpHost& pops = ShellPopUps();
  for (const int index : {PopFont, PopLinee, PopText, PopFill, PopArtText}) {
    if (pops.PopUpLoaded(index)) pops.UnloadPopUp(index);
  }

  // 2. Every key.
  const QString ini = IniFileName();
  WriteIni(ini, kPrinter, QStringLiteral("CALIBRATION_X"), QVariant::fromValue(CalibrationX));
  WriteIni(ini, kPrinter, QStringLiteral("CALIBRATION_Y"), QVariant::fromValue(CalibrationY));
  WriteIniFlag(ini, kPrinter, QStringLiteral("PRINT_ARCHIVE"), PrintArchive);
  WriteIniFlag(ini, kPrinter, QStringLiteral("PRINT_BORDER"), PrintBorder);
  WriteIniFlag(ini, kPrinter, QStringLiteral("PRINT_LOW"), PrintLow);
  WriteIniFlag(ini, kPrinter, QStringLiteral("PRINT_STOP_PAGE"), PrintStopPage);
  WriteIni(ini, kPrinter, QStringLiteral("PRINTFIELDCODE"), QVariant::fromValue(PrintFieldCode));
  WriteIni(ini, kPrinter, QStringLiteral("PRINTFIELDCODEIFNULL"), QVariant::fromValue(PrintFieldCodeIfNull));
  WriteIni(ini, kPrinter, QStringLiteral("PRINTCIRCLE"), QVariant::fromValue(PrintCircle));
  WriteIni(ini, kShows, QStringLiteral("SMALL_TEMPLATE"), QVariant::fromValue(SettingSmallTemplate));
  WriteIni(ini, kShows, QStringLiteral("ANTIALIASING"), QVariant::fromValue(SettingAntialiasing));
  WriteIni(ini, kSetting, QStringLiteral("GRID_X"), QVariant::fromValue(SettingGridX));
  WriteIni(ini, kSetting, QStringLiteral("GRID_Y"), QVariant::fromValue(SettingGridY));
  WriteIni(ini, kSetting, QStringLiteral("SHOW_GRID"), QVariant::fromValue(SettingShowGrid));
  WriteIni(ini, kSetting, QStringLiteral("SHOW_RULE"), QVariant::fromValue(SettingShowRule));
  WriteIni(ini, kSetting, QStringLiteral("AUTO_INSERT"), QVariant::fromValue(SettingAutoInsert));
  WriteIni(ini, kSetting, QStringLiteral("BOZZA"), QVariant::fromValue(SettingBozza));
  WriteIni(ini, kSetting, QStringLiteral("SNAP"), QVariant::fromValue(SettingSnap));
  const ShellDocumentHost& doc = ShellDocument();
  WriteIni(ini, kSetting, QStringLiteral("LABELWIDTH"), QVariant::fromValue(doc.LabelWidth()));
  WriteIni(ini, kSetting, QStringLiteral("LABELHEIGHT"), QVariant::fromValue(doc.LabelHeight()));
  WriteIni(ini, kSetting, QStringLiteral("FORMATCODE"), QVariant::fromValue(doc.LabelFormatCode()));
  WriteIni(ini, kGeneral, QStringLiteral("SHOW_HELP"), QVariant::fromValue(SettingShowHelp));
  WriteIni(ini, kGeneral, QStringLiteral("DEFAULT_PATH"), QVariant::fromValue(DefaultPath));

  // 3. The open document's pictures; nothing here can fail loudly.
  RemoveTempImageFolder();
}

}  // namespace pv
