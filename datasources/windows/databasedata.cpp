#include "datasources/windows/databasedata.h"

#include "core/database.h"
#include "datasources/windows/cuttexttips.h"
#include "datasources/windows/dlgselectsource.h"
#include "datasources/windows/images.h"
#include "datasources/models/recordtable.h"
#include "platform/stringtable.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QSignalBlocker>
#include <QStackedWidget>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>

namespace pv {

namespace {

constexpr int kColumnWidth = 180;
// A grid column is as wide as the longest value among this many rows (those
// on view first), and at most this many average characters.
constexpr int kMeasuredRows = 100;
constexpr int kMostColumnChars = 40;

QLabel* WrappedLabel(int caption, QWidget* parent) {
  auto* l = new QLabel(LoadResString(caption), parent);
  l->setWordWrap(true);
  return l;
}

// The registration dialog over the six values of a registration.
std::optional<Registration> ShowRegistrationDialog(QWidget* parent, const Registration* edit) {
  dlgSelectSource dialog(parent);
  if (edit != nullptr) {
    dlgSelectSourceModel& m = dialog.Model();
    m.sLabel = edit->label;
    m.sConn = edit->connectionString;
    m.sRecordset = edit->recordSetName;
    m.sDatabase = edit->sourceName;
    m.iRecordsetType = edit->sourceType;
    m.iDataBaseType = edit->sourceFormat;
    dialog.SetValue();
  }
  dialog.exec();
  const dlgSelectSourceModel& m = dialog.Model();
  if (m.sLabel.isEmpty()) return std::nullopt;
  Registration r;
  r.label = m.sLabel;
  r.connectionString = m.sConn;
  r.recordSetName = m.sRecordset;
  r.sourceName = m.sDatabase;
  r.sourceType = m.iRecordsetType;
  r.sourceFormat = m.iDataBaseType;
  return r;
}

}  // namespace

DataBaseData::DataBaseData(QWidget* parent, SourceRecordset::ReaderFactory factory)
    : DataBaseDataView(parent),
      m_model(rsRegistrations, std::move(factory)),
      m_list(new QListWidget(this)),
      m_data(new QStackedWidget(this)),
      m_nullView(new QFrame(this)),
      m_grid(new QTableView(this)),
      m_records(new RecordTableModel(m_model.Records(), this)) {
  m_model.SetRegistrationDialog([this](const Registration* edit) { return ShowRegistrationDialog(this, edit); });
  m_list->setObjectName(QStringLiteral("lstRegistrations"));
  m_grid->setObjectName(QStringLiteral("DataView"));
  m_nullView->setObjectName(QStringLiteral("NullView"));

  auto* title = new QLabel(LoadResString(14008), this);
  QFont big = title->font();
  big.setBold(true);
  big.setPointSizeF(big.pointSizeF() * 1.3);
  title->setFont(big);
  auto* line = new QFrame(this);
  line->setFrameShape(QFrame::HLine);
  line->setFrameShadow(QFrame::Sunken);

  static constexpr int kTips[6] = {14013, 14000, 14001, 14002, 14004, 14003};
  for (int i = 0; i < 6; ++i) {
    auto* b = new QToolButton(this);
    b->setObjectName(QStringLiteral("Command%1").arg(i));
    b->setIcon(QIcon(DataSourceCommandPicture(i)));
    b->setIconSize(QSize(32, 32));
    b->setAutoRaise(true);
    b->setToolTip(LoadResString(kTips[i]));
    connect(b, &QToolButton::clicked, this, [this, i] { Command_Click(i); });
    m_commands[static_cast<size_t>(i)] = b;
  }

  auto* left = new QWidget(this);
  left->setFixedWidth(kColumnWidth);
  auto* column = new QVBoxLayout(left);
  column->setContentsMargins(4, 4, 4, 4);
  column->addWidget(WrappedLabel(14009, left));
  column->addWidget(m_list, 1);
  auto* commandRow = new QHBoxLayout;
  for (int i = 0; i < 4; ++i) commandRow->addWidget(m_commands[static_cast<size_t>(i)]);
  column->addLayout(commandRow);
  auto* sortRow = new QHBoxLayout;
  sortRow->addWidget(WrappedLabel(14006, left), 1);
  sortRow->addWidget(m_commands[4]);
  column->addLayout(sortRow);
  auto* filterRow = new QHBoxLayout;
  filterRow->addWidget(WrappedLabel(14005, left), 1);
  filterRow->addWidget(m_commands[5]);
  column->addLayout(filterRow);

  auto* info = WrappedLabel(14007, m_nullView);
  info->setAlignment(Qt::AlignCenter);
  auto* nullLayout = new QVBoxLayout(m_nullView);
  nullLayout->addWidget(info);

  m_grid->setModel(m_records);
  m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
  m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
  m_grid->setWordWrap(false);  // one line a record: a value cut short ends in "..."
  m_grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  m_grid->verticalHeader()->setDefaultSectionSize(m_grid->fontMetrics().height() + 6);
  m_grid->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
  m_grid->horizontalHeader()->setDefaultSectionSize(120);
  m_grid->horizontalHeader()->setResizeContentsPrecision(kMeasuredRows);
  m_grid->setItemDelegate(new CutTextTips(m_grid));
  m_data->addWidget(m_nullView);
  m_data->addWidget(m_grid);

  auto* body = new QHBoxLayout;
  body->setContentsMargins(0, 0, 0, 0);
  body->addWidget(left);
  body->addWidget(m_data, 1);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(title);
  layout->addWidget(line);
  layout->addLayout(body, 1);

  connect(m_list, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
    m_list->setCurrentItem(item);
    Command_Click(DataBaseDataModel::CmdView);
  });
  connect(m_list, &QListWidget::currentRowChanged, this, [this](int row) { m_model.selection = row; });
  Sync();
}

// The grid and its table model go before the records they read.
DataBaseData::~DataBaseData() {
  m_grid->setModel(nullptr);
  delete m_records;
  m_records = nullptr;
}

void DataBaseData::Init() {
  m_model.Init();
  SyncList();
}

void DataBaseData::Command_Click(int index) {
  m_model.selection = m_list->currentRow();
  m_model.Command_Click(index);
  SyncList();
  Sync();
}

void DataBaseData::SyncList() {
  const QSignalBlocker block(m_list);
  const int keep = m_model.selection;
  const auto& entries = m_model.Entries();
  bool same = m_list->count() == static_cast<int>(entries.size());
  for (int i = 0; same && i < m_list->count(); ++i) {
    same = m_list->item(i)->data(Qt::UserRole).toLongLong() == entries[static_cast<size_t>(i)].id &&
           m_list->item(i)->text() == entries[static_cast<size_t>(i)].label;
  }
  if (!same) {
    m_list->clear();
    for (const auto& e : entries) {
      auto* item = new QListWidgetItem(e.label, m_list);
      item->setData(Qt::UserRole, e.id);
    }
  }
  m_list->setCurrentRow(keep);
}

void DataBaseData::Sync() {
  m_records->Reload();
  m_data->setCurrentWidget(m_model.OnView() ? static_cast<QWidget*>(m_grid) : m_nullView);
  if (m_model.OnView()) FitColumns();
}

void DataBaseData::FitColumns() {
  m_grid->resizeColumnsToContents();
  const int most = m_grid->fontMetrics().averageCharWidth() * kMostColumnChars;
  QHeaderView* header = m_grid->horizontalHeader();
  for (int i = 0; i < header->count(); ++i) {
    if (header->sectionSize(i) > most) header->resizeSection(i, most);
  }
}

}  // namespace pv
