#include "properties/windows/arttextwindowwidget.h"

#include "core/hosts.h"
#include "platform/stringtable.h"
#include "properties/screenfonts.h"

#include <QHBoxLayout>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace pv {

ArtTextWindow::ArtTextWindow(QWidget* owner, const QStringList* fonts) : PopUpFrame(PopArtText, owner) {
  setWindowTitle(LoadResString(12100));
  auto* column = new QVBoxLayout(this);
  auto* row = new QHBoxLayout;
  label_ = new QLabel(LoadResString(12101), this);
  fonts_ = new QComboBox(this);
  fonts_->setMinimumContentsLength(18);
  row->addWidget(label_);
  row->addWidget(fonts_, 1);
  grid_ = new ImageGridWidget(model_.Grid(), this);
  grid_->setFixedSize(230, 270);
  apply_ = new QPushButton(LoadResString(9200), this);
  column->addLayout(row);
  column->addWidget(grid_);
  column->addWidget(apply_, 0, Qt::AlignRight);

  model_.Load(fonts != nullptr ? *fonts : LoadScreenFontNames());
  {
    const QSignalBlocker block(fonts_);
    fonts_->addItems(model_.Fonts);
    fonts_->setCurrentIndex(model_.FontEntry);
  }
  connect(fonts_, &QComboBox::activated, this, [this](int entry) { model_.ChooseFont(entry); });
  connect(apply_, &QPushButton::clicked, this, [this] { model_.Command1_Click(); });
}

}  // namespace pv
