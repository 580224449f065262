#pragma once
// dlgCalibrationList: the printers of the program database's calibration
// list (rst_calibrationlist: name, horizontal and vertical calibration, by
// column position), one of which the user picks for the Options dialog.

#include <QDialog>

#include <cstdint>

class QPushButton;
class QTableWidget;

namespace pv {

class dlgCalibrationList : public QDialog {
  Q_OBJECT
 public:
  explicit dlgCalibrationList(QWidget* parent = nullptr);

  // Takes the current row's calibration and closes; keeps the dialog open
  // and changes nothing when no row is current or a cell is not a whole
  // number.
  bool OKButton_Click();
  void CancelButton_Click();

  QTableWidget* DataGrid1() const { return m_grid; }

  std::int16_t Dx = 0;
  std::int16_t Dy = 0;
  bool ReturnCode = false;

 private:
  QTableWidget* m_grid = nullptr;
};

// A cell's text as an Integer: a whole number in the Integer range, blanks
// around it allowed; nothing otherwise.
bool CalibrationCellValue(const QString& text, std::int16_t& value);

}  // namespace pv
