#pragma once
// The program's settings, loaded from plavik.ini once at start-up, changed in
// memory by the Options dialog, the wizard and the print panel, and written
// back once at an orderly exit; and the current printer's capabilities.

#include "platform/printer/printer.h"
#include "platform/runtime.h"

#include <QString>

#include <cstdint>

namespace pv {

// The settings plavik.ini keeps, each under its key, and the current
// printer's capabilities. A default-constructed value holds the start
// values (0, False, ""), as before LoadSettings.
struct Settings {
  // PRINTER
  std::int32_t CalibrationX = 0;          // CALIBRATION_X, printer calibration in points
  std::int32_t CalibrationY = 0;          // CALIBRATION_Y
  VbBool PrintArchive = VbFalse;          // PRINT_ARCHIVE (flag)
  VbBool PrintBorder = VbFalse;           // PRINT_BORDER (flag)
  VbBool PrintLow = VbFalse;              // PRINT_LOW (flag)
  VbBool PrintStopPage = VbFalse;         // PRINT_STOP_PAGE (flag)
  std::int16_t PrintFieldCode = 0;        // PRINTFIELDCODE, 0/1
  std::int16_t PrintFieldCodeIfNull = 0;  // PRINTFIELDCODEIFNULL, 0/1
  std::int16_t PrintCircle = 0;           // PRINTCIRCLE, 0/1
  // SHOWS
  std::int16_t SettingSmallTemplate = 0;  // SMALL_TEMPLATE
  std::int16_t SettingAntialiasing = 0;   // ANTIALIASING
  // SETTING (LABELWIDTH, LABELHEIGHT and FORMATCODE live in the document header)
  float SettingGridX = 0;              // GRID_X, mm
  float SettingGridY = 0;              // GRID_Y, mm
  std::int16_t SettingShowGrid = 0;    // SHOW_GRID
  std::int16_t SettingShowRule = 0;    // SHOW_RULE
  std::int16_t SettingAutoInsert = 0;  // AUTO_INSERT
  std::int16_t SettingBozza = 0;       // BOZZA
  std::int16_t SettingSnap = 0;        // SNAP
  // GENERAL
  std::int16_t SettingShowHelp = 0;  // SHOW_HELP
  QString DefaultPath;               // DEFAULT_PATH, clip-art root
  // The folder of the file last chosen in a file dialog, by kind of file.
  QString LabelFolder;    // LABEL_FOLDER
  QString PictureFolder;  // PICTURE_FOLDER
  QString DataFolder;     // DATA_FOLDER

  // The current printer, not kept in the file: pixels per inch, the
  // printable area's offset from the paper corner in device pixels and its
  // width and height in whole millimetres. Filled at start-up and again by
  // the print panel.
  PrinterCaps Printer;
};

// The settings of this process: read by LoadSettings, changed in memory,
// written by SaveSettings. Tests install a value of their own by assigning
// to it.
Settings& ProgramSettings();

// The grid pitch the Options dialog accepts, and the one a first start
// gets, in millimetres.
inline constexpr float MinGridPitch = 1;
inline constexpr float MaxGridPitch = 50;
inline constexpr float DefaultGridPitch = 5;

// The clip-art root as plavik.ini gives it (DEFAULT_PATH of `ini`); the
// program's own clip-art folder when the file has none (a first start) or
// holds the "0" of a missing text key written back.
QString ReadClipArtSetting(const QString& ini);

// Reads the settings, the printer's capabilities, opens the program database
// and initialises the views (run by the main window while it loads). A
// setting plavik.ini does not hold (a first start) starts as a user expects:
// the grid at 5 mm and shown, the rulers shown, and, with no label size
// either, the label of the first delivered print format; a grid pitch or a
// label size no setting can have counts as not held. Returns false when the
// printer cannot be asked: message 15000 has been shown and the program must
// end at once, writing nothing.
bool LoadSettings();

// Unloads the floating property windows, writes every setting and empties
// the temp folder. Run once, after the user confirmed the end of work.
void SaveSettings();

}  // namespace pv
