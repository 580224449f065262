#pragma once
// The program's settings, loaded from plavik.ini once at start-up, changed in
// memory by the Options dialog, the wizard and the print panel, and written
// back once at an orderly exit; and the current printer's capabilities.

#include "platform/runtime.h"

#include <QString>

#include <cstdint>

namespace pv {

// PRINTER
extern std::int32_t CalibrationX;          // CALIBRATION_X, printer calibration in points
extern std::int32_t CalibrationY;          // CALIBRATION_Y
extern VbBool PrintArchive;                // PRINT_ARCHIVE (flag)
extern VbBool PrintBorder;                 // PRINT_BORDER (flag)
extern VbBool PrintLow;                    // PRINT_LOW (flag)
extern VbBool PrintStopPage;               // PRINT_STOP_PAGE (flag)
extern std::int16_t PrintFieldCode;        // PRINTFIELDCODE, 0/1
extern std::int16_t PrintFieldCodeIfNull;  // PRINTFIELDCODEIFNULL, 0/1
extern std::int16_t PrintCircle;           // PRINTCIRCLE, 0/1
// SHOWS
extern std::int16_t SettingSmallTemplate;  // SMALL_TEMPLATE
extern std::int16_t SettingAntialiasing;   // ANTIALIASING
// SETTING (LABELWIDTH, LABELHEIGHT and FORMATCODE live in the document header)
extern float SettingGridX;              // GRID_X, mm
extern float SettingGridY;              // GRID_Y, mm
extern std::int16_t SettingShowGrid;    // SHOW_GRID
extern std::int16_t SettingShowRule;    // SHOW_RULE
extern std::int16_t SettingAutoInsert;  // AUTO_INSERT
extern std::int16_t SettingBozza;       // BOZZA
extern std::int16_t SettingSnap;        // SNAP
// GENERAL
extern std::int16_t SettingShowHelp;  // SHOW_HELP
extern QString DefaultPath;           // DEFAULT_PATH, clip-art root

// The grid pitch the Options dialog accepts, and the one a first start
// gets, in millimetres.
inline constexpr float MinGridPitch = 1;
inline constexpr float MaxGridPitch = 50;
inline constexpr float DefaultGridPitch = 5;

// The clip-art root as plavik.ini gives it (DEFAULT_PATH of `ini`); the
// program's own clip-art folder when the file has none (a first start) or
// holds the "0" of a missing text key written back.
QString ReadClipArtSetting(const QString& ini);

// The current printer: pixels per inch and the printable area's offset from
// the paper corner in device pixels.
extern std::int32_t PrinterDpiX;
extern std::int32_t PrinterDpiY;
extern std::int32_t PrinterOffsetX;
extern std::int32_t PrinterOffsetY;
// Its printable area's width and height in whole millimetres.
extern std::int32_t PrinterHorzSize;
extern std::int32_t PrinterVertSize;

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

// Puts every setting back to its start value (0, False, ""), as before
// LoadSettings; for tests.
void ResetSettings();

}  // namespace pv
