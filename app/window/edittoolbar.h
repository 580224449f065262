#pragma once
// The editor toolbar: a vertical bar of image buttons and spacers, each item
// known by its key. A click raises ToolbarButtonClick with the key; a menu
// request (a right click on any button, or a click on a button that carries
// a drop-down mark) raises ToolbarButtonMenu with it. The buttons keep their
// full size while the bar has room and grow smaller, down to a least size,
// where it is short; they never overlap.

#include <QList>
#include <QPixmap>
#include <QString>
#include <QWidget>

class QToolButton;
class QVBoxLayout;

namespace pv {

class EditToolbar : public QWidget {
  Q_OBJECT
 public:
  inline static constexpr int ButtonSize = 28;  // 420 twips
  inline static constexpr int MinButtonSize = 22;

  explicit EditToolbar(QWidget* parent = nullptr);

  // The image list: index 1 is the first image.
  void AddImage(int index, const QPixmap& pixmap);
  // Appends a button showing image `imageIndex` with a tooltip; with
  // `dropDown` a click also asks for the button's menu.
  void AddButton(int imageIndex, const QString& key, const QString& tooltip, bool dropDown = false);
  // Appends a spacer between groups (spacers raise no clicks).
  void AddSpacer(const QString& key);
  // Redraws the bar.
  void RefreshToolbar();

  // The keys of the items, top to bottom (spacers included).
  QStringList ItemKeys() const;
  // The button of a key, nullptr for a spacer or an unknown key.
  QToolButton* Button(const QString& key) const;
  // The height that holds every item with buttons of the least size.
  QSize minimumSizeHint() const override;

 signals:
  void ToolbarButtonClick(const QString& key);
  void ToolbarButtonMenu(const QString& key);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  struct Item {
    QString key;
    QToolButton* button = nullptr;
    bool dropDown = false;
  };
  QVBoxLayout* m_layout = nullptr;
  QList<QPixmap> m_images;  // m_images[0] is image 1
  QList<Item> m_items;
  int m_buttonSize = ButtonSize;

  int ButtonCount() const;
  // The height of margins, spacing and spacers: the bar's less its buttons.
  int FixedHeight() const;
  void SetButtonSize(int size);
};

}  // namespace pv
