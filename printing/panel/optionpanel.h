#pragma once
// The print panel's option panel: the count of pages or labels, the first
// and last label, the page filter, manual paper, the apply command, the
// merge note, the data-source list, and the page caption and the
// printable-area warning.

#include "printing/panel/runoptions.h"

#include <QWidget>

#include <array>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QRadioButton;

namespace pv {

class ClickableLabel;
class SelectAllLineEdit;

class OptionPanel : public QWidget {
  Q_OBJECT
 public:
  explicit OptionPanel(QWidget* parent = nullptr);

  // What the controls hold now.
  OptionBoxes Boxes() const;
  // The print run values into the controls; the count mode's display runs
  // as for a click.
  void ShowRunValues();
  // The count is pages (0) or labels (1): the count's caption, and the page
  // range and filter entered only for pages.
  void CountModeDisplay(int mode);
  // The manual options shown, or the merge note in their place.
  void ShowControl(bool bMode);
  // After the data-source list changed: its open list as wide as its
  // widest entry, and the entry shown in the tooltip where the closed box
  // cuts it.
  void FitRegistrationList();
  // The panel's width: enough for the data-source list's own entry.
  int ColumnWidth() const { return m_width; }

  QComboBox* CmbRegistration() const { return m_registrations; }
  QLabel* PageCaption() const { return m_select; }
  QLabel* Warning() const { return m_warning; }
  QCheckBox* ManualPaper() const { return m_stopPage; }

  // Controls by their names (tests, the panel).
  SelectAllLineEdit* Text1(int i) const { return m_text[static_cast<std::size_t>(i)]; }
  QRadioButton* Option1(int i) const { return m_range[static_cast<std::size_t>(i)]; }
  QRadioButton* Option2(int i) const { return m_countMode[static_cast<std::size_t>(i)]; }
  ClickableLabel* Label1(int i) const { return m_captions[static_cast<std::size_t>(i)]; }
  QLabel* Label3(int i) const { return m_note[static_cast<std::size_t>(i)]; }
  ClickableLabel* ApplyCaption() const { return m_applyCaption; }
  ClickableLabel* ApplyImage() const { return m_applyImage; }
  QWidget* Picture3(int i) const { return m_groups[static_cast<std::size_t>(i)]; }
  QFrame* Line1() const { return m_line; }

 signals:
  // Label2 or Image2 clicked.
  void applyRequested();
  // The user chose an entry of the data-source list.
  void registrationChosen(int index);

 private:
  std::array<ClickableLabel*, 11> m_captions{};
  std::array<SelectAllLineEdit*, 3> m_text{};
  std::array<QRadioButton*, 4> m_range{};
  std::array<QRadioButton*, 2> m_countMode{};
  std::array<QWidget*, 2> m_groups{};
  std::array<QLabel*, 2> m_note{};
  QButtonGroup* m_rangeGroup = nullptr;
  QButtonGroup* m_countModeGroup = nullptr;
  QCheckBox* m_stopPage = nullptr;
  ClickableLabel* m_applyCaption = nullptr;
  ClickableLabel* m_applyImage = nullptr;
  QFrame* m_line = nullptr;
  QComboBox* m_registrations = nullptr;
  QLabel* m_select = nullptr;
  QLabel* m_warning = nullptr;
  int m_width = 0;
};

}  // namespace pv
