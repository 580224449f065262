#pragma once
// The new-label wizard view ("tbr_template"): on the left the five commands
// (load a label, a new label of a size, a new data-merge label from a
// template, a background, a border), on the right the title, the count and
// the thumbnail grid of the chosen list. It shows a WizardModel.

#include "views/views.h"
#include "formats/wizardmodel.h"
#include "formats/wizardhost.h"

#include <array>

class QFrame;
class QLabel;
class QToolButton;

namespace pv {

class ImageGridWidget;

class ModelData : public ModelDataView {
  Q_OBJECT
 public:
  explicit ModelData(QWidget* parent = nullptr);
  ~ModelData() override;

  void Init() override;
  void Apply(int iIndex) override;
  // A command image or its label clicked.
  void Command_Click(int Index);

  WizardModel& Model() { return m_model; }
  ImageGridWidget* ImageList() const { return m_grid; }
  QToolButton* Command(int index) const { return m_commands[static_cast<std::size_t>(index)]; }
  QLabel* lblCommand(int index) const { return m_descriptions[static_cast<std::size_t>(index)]; }
  QLabel* lblSelect() const { return m_count; }
  QLabel* Label1() const { return m_title; }

 protected:
  void resizeEvent(QResizeEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  WizardModel m_model;
  QWidget* m_selection = nullptr;  // PicSelection
  QWidget* m_container = nullptr;  // PicContainer
  std::array<QToolButton*, WizardModel::kCommandCount> m_commands{};
  std::array<QLabel*, WizardModel::kCommandCount> m_descriptions{};
  QLabel* m_title = nullptr;
  QLabel* m_count = nullptr;
  QFrame* m_rule = nullptr;
  ImageGridWidget* m_grid = nullptr;
};

}  // namespace pv
