#include "core/settings.h"

#include "core/database.h"
#include "core/hosts.h"
#include "core/ini.h"
#include "core/seed.h"
#include "document/hosts.h"
#include "document/model.h"
#include "platform/msgbox.h"
#include "platform/printer/printer.h"
#include "platform/programfolder.h"

#include <variant>

namespace pv {

Settings& ProgramSettings() {
  static Settings settings;
  return settings;
}

namespace {

// The document header's values as the settings file keeps them: all three
// are read before they go to the document, and taken from it to be written.
struct LabelSettings {
  double width = 0;
  double height = 0;
  QString formatCode;
};

// Where a key's value lives, which also says how it is read and written.
struct LongKey {  // a number, kept as a Long
  std::int32_t Settings::*field;
};
struct IntegerKey {  // a number, kept as an Integer
  std::int16_t Settings::*field;
};
struct FlagKey {  // True only for "1"; written as "1" or "0"
  VbBool Settings::*field;
};
struct SingleKey {  // a number, kept as a Single
  float Settings::*field;
};
struct TextKey {  // text; a missing key reads as "0"
  QString Settings::*field;
};
struct LabelNumberKey {  // the leading number of the text, kept as a Double
  double LabelSettings::*field;
};
struct LabelTextKey {  // text
  QString LabelSettings::*field;
};
using SettingPlace = std::variant<LongKey, IntegerKey, FlagKey, SingleKey, TextKey, LabelNumberKey, LabelTextKey>;

struct SettingKey {
  const char* section;
  const char* key;
  SettingPlace place;
  // Read by the start procedure before the settings are loaded; not again.
  bool readAtStart = false;
};

// Every key, in the order SaveSettings writes them.
const SettingKey kKeys[] = {
    {"PRINTER", "CALIBRATION_X", LongKey{&Settings::CalibrationX}},
    {"PRINTER", "CALIBRATION_Y", LongKey{&Settings::CalibrationY}},
    {"PRINTER", "PRINT_ARCHIVE", FlagKey{&Settings::PrintArchive}},
    {"PRINTER", "PRINT_BORDER", FlagKey{&Settings::PrintBorder}},
    {"PRINTER", "PRINT_LOW", FlagKey{&Settings::PrintLow}},
    {"PRINTER", "PRINT_STOP_PAGE", FlagKey{&Settings::PrintStopPage}},
    {"PRINTER", "PRINTFIELDCODE", IntegerKey{&Settings::PrintFieldCode}},
    {"PRINTER", "PRINTFIELDCODEIFNULL", IntegerKey{&Settings::PrintFieldCodeIfNull}},
    {"PRINTER", "PRINTCIRCLE", IntegerKey{&Settings::PrintCircle}},
    {"SHOWS", "SMALL_TEMPLATE", IntegerKey{&Settings::SettingSmallTemplate}},
    {"SHOWS", "ANTIALIASING", IntegerKey{&Settings::SettingAntialiasing}},
    {"SETTING", "GRID_X", SingleKey{&Settings::SettingGridX}},
    {"SETTING", "GRID_Y", SingleKey{&Settings::SettingGridY}},
    {"SETTING", "SHOW_GRID", IntegerKey{&Settings::SettingShowGrid}},
    {"SETTING", "SHOW_RULE", IntegerKey{&Settings::SettingShowRule}},
    {"SETTING", "AUTO_INSERT", IntegerKey{&Settings::SettingAutoInsert}},
    {"SETTING", "BOZZA", IntegerKey{&Settings::SettingBozza}},
    {"SETTING", "SNAP", IntegerKey{&Settings::SettingSnap}},
    {"SETTING", "LABELWIDTH", LabelNumberKey{&LabelSettings::width}},
    {"SETTING", "LABELHEIGHT", LabelNumberKey{&LabelSettings::height}},
    {"SETTING", "FORMATCODE", LabelTextKey{&LabelSettings::formatCode}},
    {"GENERAL", "SHOW_HELP", IntegerKey{&Settings::SettingShowHelp}},
    {"GENERAL", "DEFAULT_PATH", TextKey{&Settings::DefaultPath}, true},
    {"GENERAL", "LABEL_FOLDER", TextKey{&Settings::LabelFolder}},
    {"GENERAL", "PICTURE_FOLDER", TextKey{&Settings::PictureFolder}},
    {"GENERAL", "DATA_FOLDER", TextKey{&Settings::DataFolder}},
};

template <class... F>
struct Overloaded : F... {
  using F::operator()...;
};

void ReadKey(const QString& ini, const SettingKey& k, Settings& s, LabelSettings& label) {
  const QString section = QString::fromLatin1(k.section);
  const QString key = QString::fromLatin1(k.key);
  const auto read = [&] { return ReadIni(ini, section, key); };
  std::visit(Overloaded{
                 [&](LongKey p) { s.*p.field = IniToLong(read()); },
                 [&](IntegerKey p) { s.*p.field = IniToInteger(read()); },
                 [&](FlagKey p) { s.*p.field = ToVbBool(ReadIniFlag(ini, section, key)); },
                 [&](SingleKey p) { s.*p.field = IniToSingle(read()); },
                 [&](TextKey p) { s.*p.field = IniToText(read()); },
                 [&](LabelNumberKey p) { label.*p.field = IniToLeadingDouble(read()); },
                 [&](LabelTextKey p) { label.*p.field = IniToText(read()); },
             },
             k.place);
}

void WriteKey(const QString& ini, const SettingKey& k, const Settings& s, const LabelSettings& label) {
  const QString section = QString::fromLatin1(k.section);
  const QString key = QString::fromLatin1(k.key);
  const auto write = [&](const QVariant& value) { WriteIni(ini, section, key, value); };
  std::visit(Overloaded{
                 [&](LongKey p) { write(QVariant::fromValue(s.*p.field)); },
                 [&](IntegerKey p) { write(QVariant::fromValue(s.*p.field)); },
                 [&](FlagKey p) { WriteIniFlag(ini, section, key, s.*p.field); },
                 [&](SingleKey p) { write(QVariant::fromValue(s.*p.field)); },
                 [&](TextKey p) { write(QVariant::fromValue(s.*p.field)); },
                 [&](LabelNumberKey p) { write(QVariant::fromValue(label.*p.field)); },
                 [&](LabelTextKey p) { write(QVariant::fromValue(label.*p.field)); },
             },
             k.place);
}

bool Held(const QString& ini, const char* section, const char* key) {
  return ReadIniText(ini, QString::fromLatin1(section), QString::fromLatin1(key)).has_value();
}

// The display settings a file does not hold start as a user expects rather
// than at 0: without them the editor has no grid pitch, no grid and no
// rulers, and Options refuses its own values.
void FillUnheldDisplaySettings(const QString& ini, Settings& s) {
  for (float* pitch : {&s.SettingGridX, &s.SettingGridY}) {
    if (!(*pitch >= MinGridPitch && *pitch <= MaxGridPitch)) *pitch = DefaultGridPitch;
  }
  if (!Held(ini, "SETTING", "SHOW_GRID")) s.SettingShowGrid = 1;
  if (!Held(ini, "SETTING", "SHOW_RULE")) s.SettingShowRule = 1;
}

// The settings file `ini` read into `s` and `label`: every key but those
// read at start, which keep their values in `s`, and the display settings
// the file does not hold.
void ReadSettingsFile(const QString& ini, Settings& s, LabelSettings& label) {
  for (const SettingKey& k : kKeys) {
    if (!k.readAtStart) ReadKey(ini, k, s, label);
  }
  FillUnheldDisplaySettings(ini, s);
}

// Every key of `s` and `label` written to the settings file `ini`.
void WriteSettingsFile(const QString& ini, const Settings& s, const LabelSettings& label) {
  for (const SettingKey& k : kKeys) WriteKey(ini, k, s, label);
}

}  // namespace

QString ReadClipArtSetting(const QString& ini) {
  const QString path = IniToText(ReadIni(ini, QStringLiteral("GENERAL"), QStringLiteral("DEFAULT_PATH")));
  if (path.trimmed().isEmpty() || path == QLatin1String("0")) return ProgramPath(QStringLiteral("clipart"));
  return path;
}

bool LoadSettings() {
  const QString ini = IniFileName();

  // 1. Without a print system the program cannot go on.
  if (!DefaultPrinterName()) {
    MsgBoxRes(15000, MsgIcon::Information, MsgButtons::Ok);
    return false;
  }

  // 2. and 4.-6. PRINTER, GENERAL, SHOWS, SETTING (reading has no side
  // effects, so one walk over the keys serves all four sections).
  Settings settings = ProgramSettings();
  LabelSettings label;
  ReadSettingsFile(ini, settings, label);

  // 3. The default printer's capabilities; a system printer that cannot be
  // opened gives way to the built-in PDF printer.
  auto caps = CurrentPrinterCapabilities();
  if (!caps) {
    SetCurrentPrinter(QString::fromLatin1(PdfPrinterName));
    caps = CurrentPrinterCapabilities();
  }
  settings.Printer = caps.value_or(PrinterCaps{});
  ProgramSettings() = settings;

  // The label size and format code belong to the document header.
  // A size no label can have (none in the file, or a hand-edited or damaged
  // one) is ignored: the document keeps the size it has, and a document
  // without one takes the first delivered format's, so that no label is
  // ever without a size.
  ShellDocumentHost& doc = ShellDocument();
  const auto valid = [](double w, double h) { return IsValidLabelSide(w) && IsValidLabelSide(h); };
  if (valid(label.width, label.height)) {
    doc.SetLabelSize(label.width, label.height);
    doc.SetLabelFormatCode(label.formatCode);
  } else if (valid(doc.LabelWidth(), doc.LabelHeight())) {
    doc.SetLabelSize(doc.LabelWidth(), doc.LabelHeight());
    doc.SetLabelFormatCode(label.formatCode);
  } else {
    const DeliveredLabel first = FirstDeliveredFormat();
    doc.SetLabelSize(first.width, first.height);
    doc.SetLabelFormatCode(first.code);
  }

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
  const ShellDocumentHost& doc = ShellDocument();
  const LabelSettings label{doc.LabelWidth(), doc.LabelHeight(), doc.LabelFormatCode()};
  const QString ini = IniFileName();
  WriteSettingsFile(ini, ProgramSettings(), label);

  // 3. The open document's pictures; nothing here can fail loudly.
  RemoveTempImageFolder();
}

}  // namespace pv
