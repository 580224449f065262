#include "datasources/windows/dlgfilter.h"

#include "datasources/windows/okcancel.h"
#include "platform/stringtable.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include <algorithm>

namespace pv {

namespace {

// The width of the help, in average characters.
constexpr int kHelpColumns = 30;

QPushButton* Button(QWidget* parent, int caption, const char* name) {
  auto* b = new QPushButton(LoadResString(caption), parent);
  b->setObjectName(QString::fromLatin1(name));
  b->setAutoDefault(false);
  return b;
}

// The expression box keeps its selection for the lists' double-clicks: the
// selection the line edit drops when it loses the focus is not read.
class ExpressionBox : public QLineEdit {
 public:
  using QLineEdit::QLineEdit;
  bool leaving = false;

 protected:
  void focusOutEvent(QFocusEvent* e) override {
    leaving = true;
    QLineEdit::focusOutEvent(e);
    leaving = false;
  }
};

QLabel* Caption(QWidget* parent, int caption, QWidget* buddy) {
  auto* l = new QLabel(LoadResString(caption), parent);
  l->setBuddy(buddy);
  return l;
}

}  // namespace

dlgFilter::dlgFilter(QWidget* parent)
    : QDialog(parent),
      m_text(new ExpressionBox(this)),
      m_fieldList(new QListWidget(this)),
      m_operatorList(new QListWidget(this)),
      m_storedList(new QListWidget(this)),
      m_help(new QLabel(this)) {
  setWindowTitle(LoadResString(13600));
  m_text->setObjectName(QStringLiteral("Text1"));
  m_fieldList->setObjectName(QStringLiteral("List1_0"));
  m_operatorList->setObjectName(QStringLiteral("List1_1"));
  m_storedList->setObjectName(QStringLiteral("List2"));
  m_help->setObjectName(QStringLiteral("Label3"));
  m_help->setWordWrap(true);
  m_help->setAlignment(Qt::AlignTop | Qt::AlignLeft);
  m_operatorList->addItems(dlgFilterModel::Operators());

  QPushButton* check = Button(this, 13602, "Command1_0");
  QPushButton* clear = Button(this, 13603, "Command1_1");
  QPushButton* store = Button(this, 13609, "Command4_0");
  QPushButton* remove = Button(this, 13610, "Command4_1");
  QDialogButtonBox* buttons = OkCancelButtons(this, 13611, 13612);

  auto* grid = new QGridLayout(this);
  grid->addWidget(Caption(this, 13601, m_text), 0, 0, 1, 3);
  grid->addWidget(m_text, 1, 0, 1, 2);
  auto* checkRow = new QHBoxLayout;
  checkRow->addWidget(check);
  checkRow->addWidget(clear);
  grid->addLayout(checkRow, 1, 2);
  grid->addWidget(Caption(this, 13604, m_fieldList), 2, 0);
  grid->addWidget(Caption(this, 13605, m_operatorList), 2, 1);
  grid->addWidget(Caption(this, 13606, m_help), 2, 2);
  grid->addWidget(m_fieldList, 3, 0);
  grid->addWidget(m_operatorList, 3, 1);
  grid->addWidget(m_help, 3, 2);
  grid->addWidget(Caption(this, 13608, m_storedList), 4, 0, 1, 3);
  grid->addWidget(m_storedList, 5, 0, 1, 2);
  auto* storeColumn = new QVBoxLayout;
  storeColumn->addWidget(store);
  storeColumn->addWidget(remove);
  storeColumn->addStretch();
  grid->addLayout(storeColumn, 5, 2);
  grid->addWidget(buttons, 6, 0, 1, 3);
  resize(640, 460);

  connect(m_text, &QLineEdit::textEdited, this, [this] { ReadBox(); });
  auto follow = [this] {
    if (!static_cast<ExpressionBox*>(m_text)->leaving) ReadBox();
  };
  connect(m_text, &QLineEdit::selectionChanged, this, follow);
  connect(m_text, &QLineEdit::cursorPositionChanged, this, follow);
  connect(m_operatorList, &QListWidget::currentRowChanged, this, [this](int row) {
    m_model.ClickOperator(row);
    m_help->setText(m_model.help);
  });
  connect(m_storedList, &QListWidget::currentRowChanged, this, [this](int row) { m_model.storedSelection = row; });
  for (QListWidget* list : {m_fieldList, m_operatorList, m_storedList}) {
    connect(list, &QListWidget::itemDoubleClicked, this, [this, list](QListWidgetItem* item) { Activate(list, item); });
    list->installEventFilter(this);
  }
  connect(check, &QPushButton::clicked, this, [this] { CheckSintax(true); });
  connect(clear, &QPushButton::clicked, this, [this] {
    m_model.Clear();
    SyncBox();
  });
  connect(store, &QPushButton::clicked, this, [this] {
    m_model.text = m_text->text();
    m_model.Store();
    SyncStored();
  });
  connect(remove, &QPushButton::clicked, this, [this] {
    m_model.DeleteSelected();
    SyncStored();
  });

  FixHelpSize();
  m_help->setText(m_model.help);
  SyncBox();
  SyncStored();
}

// The help is as large as the longest one, so that the lists and buttons
// stay where they are whichever operator is current.
void dlgFilter::FixHelpSize() {
  const int width = m_help->fontMetrics().averageCharWidth() * kHelpColumns;
  int height = 0;
  for (const QString& help : dlgFilterModel::Helps()) {
    m_help->setText(help);
    height = std::max(height, m_help->heightForWidth(width));
  }
  m_help->setFixedSize(width, height);
}

bool dlgFilter::eventFilter(QObject* watched, QEvent* event) {
  auto* list = qobject_cast<QListWidget*>(watched);
  if (event->type() != QEvent::KeyPress || (list != m_fieldList && list != m_operatorList && list != m_storedList)) {
    return QDialog::eventFilter(watched, event);
  }
  auto* key = static_cast<QKeyEvent*>(event);
  const Qt::KeyboardModifiers modifiers = key->modifiers() & ~Qt::KeypadModifier;
  const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
  const bool space = key->key() == Qt::Key_Space;
  if (modifiers != Qt::NoModifier || !(enter || space)) return QDialog::eventFilter(watched, event);
  if (QListWidgetItem* item = list->currentItem()) {
    Activate(list, item);
    return true;
  }
  return enter;  // Enter on a list never stands for OK
}

// A field or an operator goes into the expression; a stored expression
// replaces it.
void dlgFilter::Activate(QListWidget* list, QListWidgetItem* item) {
  if (list == m_storedList) {
    m_model.UseStored(m_storedList->row(item));
    SyncBox();
  } else {
    Insert(item->text());
  }
}

void dlgFilter::SetExpression(const QString& text) {
  m_model.SetText(text);
  SyncBox();
}

void dlgFilter::AddField(const QString& sFieldName) {
  m_model.AddField(sFieldName);
  m_fieldList->addItem(m_model.Fields().back());
}

bool dlgFilter::CheckSintax(bool bMode) {
  m_model.text = m_text->text();
  return m_model.CheckSintax(bMode);
}

void dlgFilter::ReadBox() {
  m_model.text = m_text->text();
  if (m_text->hasSelectedText()) {
    m_model.selStart = static_cast<int>(m_text->selectionStart());
    m_model.selLength = static_cast<int>(m_text->selectedText().size());
  } else {
    m_model.selStart = m_text->cursorPosition();
    m_model.selLength = 0;
  }
}

void dlgFilter::SyncBox() {
  const QSignalBlocker block(m_text);
  m_text->setText(m_model.text);
  if (m_model.selLength > 0) {
    m_text->setSelection(m_model.selStart, m_model.selLength);
  } else {
    m_text->setCursorPosition(m_model.selStart);
  }
}

void dlgFilter::SyncStored() {
  const QSignalBlocker block(m_storedList);
  m_storedList->clear();
  for (const StoredFilter& f : m_model.Stored()) {
    auto* item = new QListWidgetItem(f.text, m_storedList);
    item->setData(Qt::UserRole, f.id);
  }
  m_storedList->setCurrentRow(-1);
  m_model.storedSelection = -1;
}

void dlgFilter::Insert(const QString& entry) {
  m_model.InsertEntry(entry);
  SyncBox();
  m_text->setFocus();
}

void dlgFilter::done(int result) {
  m_model.text = m_text->text();
  if (result == QDialog::Accepted) {
    if (!m_model.Ok()) return;
  } else {
    m_model.Cancel();
  }
  QDialog::done(result);
}

}  // namespace pv
