#include "datasources/models/fieldpickermodel.h"

#include "document/predefinedfields.h"
#include "datasources/registrations.h"
#include "datasources/models/formatcodes.h"
#include "datasources/models/sourcecolumns.h"
#include "platform/stringtable.h"

namespace pv {

namespace {

QString RegistrationKey(qint64 id) { return QStringLiteral("KID%1").arg(id); }

}  // namespace

dlgFieldPropetyModel::dlgFieldPropetyModel(Recordset& registrations, ColumnLister columns)
    : m_registrations(registrations), m_columns(std::move(columns)) {
  if (!m_columns) m_columns = [](const Registration& r) { return RegistrationColumns(r); };
}

QString& dlgFieldPropetyModel::FieldName() {
  static QString value;
  return value;
}

QString& dlgFieldPropetyModel::FieldFormat() {
  static QString value;
  return value;
}

QString& dlgFieldPropetyModel::LastFieldSource() {
  static QString value;
  return value;
}

std::vector<dlgFieldPropetyModel::Kind> dlgFieldPropetyModel::Kinds() {
  return {{LoadResString(31006), FormatNone},     {LoadResString(31007), FormatNumber},
          {LoadResString(31008), FormatCurrency}, {LoadResString(31009), FormatDate},
          {LoadResString(31010), FormatTime},     {LoadResString(31011), FormatCounter}};
}

void dlgFieldPropetyModel::Load(const FieldPickerPreset* preset) {
  okEnabled = false;
  nameEnabled = true;
  nameTag.clear();
  SetNameText(preset != nullptr ? FieldName() : QString());
  formatText = preset != nullptr ? FieldFormat() : QString();
  kindSelection = -1;
  m_formats.clear();
  formatSelection = -1;
  LoadDatabaseField();
  if (preset == nullptr) return;
  FieldName() = preset->FieldName;
  SetNameText(preset->NameText);
  nameTag = preset->NameTag;
  FieldFormat() = preset->FieldFormat;
  formatText = preset->FormatText;
}

void dlgFieldPropetyModel::LoadDatabaseField() {
  FieldName().clear();
  m_nodes.clear();
  const QString group = QString::fromLatin1(kPredefinedFieldPrefix);
  FieldNode top{group, PredefinedFieldGroupCaption(), 1, QString(), false, false, false, true};
  m_nodes.push_back(top);
  for (int code = 1; code <= 3; ++code) {
    QString key = PredefinedFieldKey(code);
    const QString caption = GetPredefinedFieldCaption(key);
    m_nodes.push_back({key, caption, 2, group, true});
  }
  std::vector<Registration> all;
  try {
    all = RegistrationStore(m_registrations).All();
  } catch (const DbError&) {
    // The registrations read so far are listed.
  }
  for (const Registration& r : all) {
    const QString key = RegistrationKey(r.id);
    m_nodes.push_back({key, r.label, 1, QString(), false, r.label == LastFieldSource()});
    const size_t at = m_nodes.size() - 1;
    try {
      const QStringList columns = m_columns(r);
      for (int i = 0; i < columns.size(); ++i) {
        m_nodes.push_back({key + QLatin1Char(' ') + QString::number(i), columns[i], 2, key, true});
      }
    } catch (const DbError&) {
      m_nodes[at].broken = true;
      m_nodes[at].expanded = false;
    }
  }
}

const FieldNode* dlgFieldPropetyModel::Node(const QString& key) const {
  for (const FieldNode& n : m_nodes) {
    if (n.key == key) return &n;
  }
  return nullptr;
}

void dlgFieldPropetyModel::ClickNode(const QString& key) {
  const FieldNode* node = Node(key);
  if (node == nullptr || !node->field) return;
  QString k = node->key;
  const int code = GetPredefinedFieldCode(k);
  if (code != 0) {
    SetNameText(GetPredefinedFieldCaption(k));
    nameEnabled = false;
  } else {
    SetNameText(node->text);
    nameEnabled = true;
  }
  nameTag = QString::number(code);
  okEnabled = true;
  const FieldNode* parent = Node(node->parentKey);
  LastFieldSource() = parent != nullptr ? parent->text : QString();
}

void dlgFieldPropetyModel::SetNameText(const QString& text) {
  nameText = text;
  if (!nameText.isEmpty()) okEnabled = true;
}

void dlgFieldPropetyModel::TypeName(const QString& text) {
  nameTag = QStringLiteral("0");
  SetNameText(text);
}

void dlgFieldPropetyModel::ClickKind(int index) {
  const std::vector<Kind> kinds = Kinds();
  if (index < 0 || index >= static_cast<int>(kinds.size())) return;
  kindSelection = index;
  LoadStandardFormat(kinds[static_cast<size_t>(index)].kind);
  formatText.clear();
  formatSelection = -1;
}

void dlgFieldPropetyModel::LoadStandardFormat(int code) {
  m_formats.clear();
  try {
    for (const FormatCode& c : FormatCodesOfKind(code)) m_formats.push_back({FormatSample(code, c.format), c.id});
  } catch (const DbError&) {
    // The list keeps what was added.
  }
}

void dlgFieldPropetyModel::ClickFormat(int index) {
  if (index < 0 || index >= static_cast<int>(m_formats.size())) return;
  formatSelection = index;
  ShowStandardFormat(m_formats[static_cast<size_t>(index)].id);
}

void dlgFieldPropetyModel::ShowStandardFormat(qint64 idField) {
  try {
    if (const auto code = FormatCodeById(idField)) formatText = *code;
  } catch (const DbError&) {
    // The box keeps its code.
  }
}

FieldPickerAnswer dlgFieldPropetyModel::Ok() {
  bool number = false;
  const int mark = nameTag.toInt(&number);
  const QString key = number ? PredefinedFieldKey(mark) : QString();
  FieldName() = key.isEmpty() ? nameText : key;
  FieldFormat() = formatText;
  return {FieldName(), FieldFormat()};
}

FieldPickerAnswer dlgFieldPropetyModel::Cancel() {
  FieldName().clear();
  return {QString(), FieldFormat()};
}

}  // namespace pv
