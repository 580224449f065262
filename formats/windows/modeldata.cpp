#include "formats/windows/modeldata.h"

#include "views/imagegridwidget.h"

#include <QEvent>
#include <QFrame>
#include <QIcon>
#include <QLabel>
#include <QMouseEvent>
#include <QToolButton>

namespace pv {

namespace {

const char* const kCommandImages[WizardModel::kCommandCount] = {
    ":/plavik/images/wizard_open.svg",       ":/plavik/images/wizard_size.svg",   ":/plavik/images/wizard_template.svg",
    ":/plavik/images/wizard_background.svg", ":/plavik/images/wizard_border.svg",
};

constexpr int kSelectionWidth = 180;
constexpr int kRowHeight = 100;
constexpr int kImageSize = 40;

}  // namespace

ModelData::ModelData(QWidget* parent) : ModelDataView(parent) {
  setObjectName(QStringLiteral("ModelData"));
  m_selection = new QWidget(this);
  m_selection->setObjectName(QStringLiteral("PicSelection"));
  m_selection->setAutoFillBackground(true);
  QPalette pal = m_selection->palette();
  pal.setColor(QPalette::Window, QColor(236, 242, 250));
  m_selection->setPalette(pal);
  for (int i = 0; i < WizardModel::kCommandCount; ++i) {
    auto* button = new QToolButton(m_selection);
    button->setObjectName(QStringLiteral("Command%1").arg(i));
    button->setIcon(QIcon(QString::fromLatin1(kCommandImages[i])));
    button->setIconSize(QSize(kImageSize - 4, kImageSize - 4));
    button->setAutoRaise(true);
    button->setToolTip(WizardModel::CommandTooltip(i));
    button->setGeometry(6, 10 + i * kRowHeight, kImageSize, kImageSize);
    connect(button, &QToolButton::clicked, this, [this, i] { Command_Click(i); });
    m_commands[static_cast<std::size_t>(i)] = button;

    auto* label = new QLabel(WizardModel::CommandDescription(i), m_selection);
    label->setObjectName(QStringLiteral("lblCommand%1").arg(i));
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setCursor(Qt::PointingHandCursor);
    label->setGeometry(kImageSize + 12, 10 + i * kRowHeight, kSelectionWidth - kImageSize - 16, kRowHeight - 14);
    label->installEventFilter(this);
    m_descriptions[static_cast<std::size_t>(i)] = label;
  }

  m_container = new QWidget(this);
  m_container->setObjectName(QStringLiteral("PicContainer"));
  m_title = new QLabel(WizardModel::Title(), m_container);
  m_title->setObjectName(QStringLiteral("Label1"));
  QFont bold = m_title->font();
  bold.setBold(true);
  m_title->setFont(bold);
  m_count = new QLabel(m_model.CountCaption(), m_container);
  m_count->setObjectName(QStringLiteral("lblSelect"));
  m_count->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  m_rule = new QFrame(m_container);
  m_rule->setFrameShape(QFrame::HLine);
  m_rule->setFrameShadow(QFrame::Sunken);
  m_grid = new ImageGridWidget(m_model.Grid(), m_container);
  m_grid->setObjectName(QStringLiteral("ImageList"));
}

// The grid's widget goes before the model whose grid it shows.
ModelData::~ModelData() { delete m_grid; }

void ModelData::Init() {
  m_model.Init();
  m_count->setText(m_model.CountCaption());
}

void ModelData::Apply(int iIndex) { m_model.Apply(iIndex); }

void ModelData::Command_Click(int Index) {
  m_model.Command_Click(Index);
  m_count->setText(m_model.CountCaption());
}

bool ModelData::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseButtonRelease && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
    for (int i = 0; i < WizardModel::kCommandCount; ++i) {
      if (watched == m_descriptions[static_cast<std::size_t>(i)]) {
        Command_Click(i);
        return true;
      }
    }
  }
  return ModelDataView::eventFilter(watched, event);
}

void ModelData::resizeEvent(QResizeEvent* event) {
  ModelDataView::resizeEvent(event);
  const int w = width(), h = height();
  m_selection->setGeometry(0, 0, kSelectionWidth, h);
  // A view narrower than the command panel shows no list.
  const int containerWidth = std::max(0, w - (kSelectionWidth + 1));
  m_container->setGeometry(kSelectionWidth + 1, 0, containerWidth, h);
  m_title->setGeometry(4, 0, containerWidth / 2, 19);
  m_count->setGeometry(containerWidth / 2, 0, std::max(0, containerWidth / 2 - 8), 19);
  m_rule->setGeometry(0, 19, containerWidth, 1);
  m_grid->setGeometry(0, 20, containerWidth, std::max(0, h - 20));
}

}  // namespace pv
