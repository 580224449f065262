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
  ShapePickerModel& model() { return model_; }
  ImageGridWidget* grid() const { return grid_; }
  QPushButton* okButton() const { return ok_; }
  QPushButton* cancelButton() const { return cancel_; }
  void reject() override;

 private:
  ShapePickerModel model_;
  ImageGridWidget* grid_;
  QPushButton* ok_;
  QPushButton* cancel_;
};

class ClipArtPickerWindow : public QDialog {
  Q_OBJECT
 public:
  ClipArtPickerWindow(const QString& root, const std::vector<ClipCategory>& categories, QWidget* parent = nullptr);
  ClipArtPickerModel& model() { return model_; }
  QListWidget* list() const { return list_; }
  ImageGridWidget* grid() const { return grid_; }
  QPushButton* okButton() const { return ok_; }
  QPushButton* cancelButton() const { return cancel_; }
  QLabel* categoryLabel() const { return categoryLabel_; }
  QLabel* fileLabel() const { return fileLabel_; }
  void reject() override;

 private:
  void Sync();

  ClipArtPickerModel model_;
  QListWidget* list_;
  ImageGridWidget* grid_;
  QLabel* categoryLabel_;
  QLabel* fileLabel_;
  QPushButton* ok_;
  QPushButton* cancel_;
};

class BackgroundPickerWindow : public QDialog {
  Q_OBJECT
 public:
  explicit BackgroundPickerWindow(QWidget* parent = nullptr);
  BackgroundPickerModel& model() { return model_; }
  void SetMode(bool bMode);
  ImageGridWidget* grid() const { return grid_; }
  QPushButton* okButton() const { return ok_; }
  QPushButton* removeButton() const { return remove_; }
  QPushButton* cancelButton() const { return cancel_; }
  QLabel* countLabel() const { return countLabel_; }
  void reject() override;

 private:
  void Sync();

  BackgroundPickerModel model_;
  ImageGridWidget* grid_;
  QLabel* countLabel_;
  QPushButton* ok_;
  QPushButton* remove_;
  QPushButton* cancel_;
};

class ArrayWindow : public QDialog {
  Q_OBJECT
 public:
  explicit ArrayWindow(QWidget* parent = nullptr);
  ArrayDialogModel& model() { return model_; }
  QLineEdit* box(int i) const { return boxes_[static_cast<std::size_t>(i)]; }
  QPushButton* okButton() const { return ok_; }
  QPushButton* cancelButton() const { return cancel_; }
  void reject() override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  ArrayDialogModel model_;
  std::array<QLineEdit*, 4> boxes_{};
  QPushButton* ok_;
  QPushButton* cancel_;
};

}  // namespace pv
