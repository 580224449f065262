#pragma once
// The thin windows of the pickers over their models: a grid, the buttons and
// the labels. Closing a window by its title bar is a cancel.
#include "properties/arraydialog.h"
#include "properties/backgroundpicker.h"
#include "properties/clipartpicker.h"
#include "views/imagegridwidget.h"
#include "properties/shapepicker.h"

#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include <array>

namespace pv {

class ShapePickerWindow : public QDialog {
  Q_OBJECT
 public:
  explicit ShapePickerWindow(QWidget* parent = nullptr);
  ShapePickerModel& model() { return m_model; }
  ImageGridWidget* grid() const { return m_grid; }
  QPushButton* okButton() const { return m_ok; }
  QPushButton* cancelButton() const { return m_cancel; }
  void reject() override;

 private:
  ShapePickerModel m_model;
  ImageGridWidget* m_grid;
  QPushButton* m_ok;
  QPushButton* m_cancel;
};

class ClipArtPickerWindow : public QDialog {
  Q_OBJECT
 public:
  ClipArtPickerWindow(const QString& root, const std::vector<ClipCategory>& categories, QWidget* parent = nullptr);
  ClipArtPickerModel& model() { return m_model; }
  QListWidget* list() const { return m_list; }
  ImageGridWidget* grid() const { return m_grid; }
  QPushButton* okButton() const { return m_ok; }
  QPushButton* cancelButton() const { return m_cancel; }
  QLabel* categoryLabel() const { return m_categoryLabel; }
  QLabel* fileLabel() const { return m_fileLabel; }
  void reject() override;

 private:
  void Sync();

  ClipArtPickerModel m_model;
  QListWidget* m_list;
  ImageGridWidget* m_grid;
  QLabel* m_categoryLabel;
  QLabel* m_fileLabel;
  QPushButton* m_ok;
  QPushButton* m_cancel;
};

class BackgroundPickerWindow : public QDialog {
  Q_OBJECT
 public:
  explicit BackgroundPickerWindow(QWidget* parent = nullptr);
  BackgroundPickerModel& model() { return m_model; }
  void SetMode(bool bMode);
  ImageGridWidget* grid() const { return m_grid; }
  QPushButton* okButton() const { return m_ok; }
  QPushButton* removeButton() const { return m_remove; }
  QPushButton* cancelButton() const { return m_cancel; }
  QLabel* countLabel() const { return m_countLabel; }
  void reject() override;

 private:
  void Sync();

  BackgroundPickerModel m_model;
  ImageGridWidget* m_grid;
  QLabel* m_countLabel;
  QPushButton* m_ok;
  QPushButton* m_remove;
  QPushButton* m_cancel;
};

class ArrayWindow : public QDialog {
  Q_OBJECT
 public:
  explicit ArrayWindow(QWidget* parent = nullptr);
  ArrayDialogModel& model() { return m_model; }
  QLineEdit* box(int i) const { return m_boxes[static_cast<std::size_t>(i)]; }
  QPushButton* okButton() const { return m_ok; }
  QPushButton* cancelButton() const { return m_cancel; }
  void reject() override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  ArrayDialogModel m_model;
  std::array<QLineEdit*, 4> m_boxes{};
  QPushButton* m_ok;
  QPushButton* m_cancel;
};

}  // namespace pv
