#pragma once
// A colour swatch: a framed box painted in one colour that reports a click.
#include <QFrame>

#include <cstdint>

namespace pv {

class ColorSwatch : public QFrame {
  Q_OBJECT
 public:
  explicit ColorSwatch(QWidget* parent = nullptr);
  // 0x00BBGGRR.
  void SetColor(std::int32_t color);
  std::int32_t Color() const { return m_color; }

 signals:
  void clicked();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  std::int32_t m_color = 0;
};

}  // namespace pv
