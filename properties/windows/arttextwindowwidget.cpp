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
  m_label = new QLabel(LoadResString(12101), this);
  m_fonts = new QComboBox(this);
  m_fonts->setMinimumContentsLength(18);
  row->addWidget(m_label);
  row->addWidget(m_fonts, 1);
  m_grid = new ImageGridWidget(m_model.Grid(), this);
  m_grid->setFixedSize(230, 270);
  m_apply = new QPushButton(LoadResString(9200), this);
  column->addLayout(row);
  column->addWidget(m_grid);
  column->addWidget(m_apply, 0, Qt::AlignRight);

  m_model.Load(fonts != nullptr ? *fonts : LoadScreenFontNames());
  {
    const QSignalBlocker block(m_fonts);
    m_fonts->addItems(m_model.Fonts);
    m_fonts->setCurrentIndex(m_model.FontEntry);
  }
  connect(m_fonts, &QComboBox::activated, this, [this](int entry) { m_model.ChooseFont(entry); });
  connect(m_apply, &QPushButton::clicked, this, [this] { m_model.Command1_Click(); });
}

}  // namespace pv
