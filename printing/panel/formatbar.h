#pragma once
// The print panel's format bar: a bevelled strip that names the current
// print format (a click anywhere on it opens the format chooser) and holds
// the print job's progress bar with its caption.

#include <QWidget>

class QLabel;
class QProgressBar;

namespace pv {

class ClickableLabel;

class FormatBar : public QWidget {
  Q_OBJECT
 public:
  explicit FormatBar(QWidget* parent = nullptr);

  ClickableLabel* FormatName() const { return m_name; }
  ClickableLabel* ChooserImage() const { return m_image; }
  QLabel* ProgressLabel() const { return m_progressLabel; }
  QProgressBar* ProgressBar() const { return m_progress; }

  // The format name, with its tooltip where the bar cuts it.
  void SetFormatCaption(const QString& caption);
  void ShowProgress(bool visible);
  // Range and value; repainted at once (a job does not yield to the loop).
  void SetProgress(double minimum, double maximum, double value);

 signals:
  void clicked();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  void FitFormatName();

  ClickableLabel* m_image = nullptr;
  ClickableLabel* m_name = nullptr;
  QLabel* m_progressLabel = nullptr;
  QProgressBar* m_progress = nullptr;
};

}  // namespace pv
