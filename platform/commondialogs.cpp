#include "platform/commondialogs.h"

#include <QFileInfo>

namespace pv {

QStringList FileDialogFilters(const QString& filter) {
  const QStringList parts = filter.split(QLatin1Char('|'));
  QStringList out;
  for (qsizetype i = 0; i < parts.size(); i += 2) {
    QString description = parts[i].trimmed();
    const QString pattern = i + 1 < parts.size() ? parts[i + 1].trimmed() : description;
    if (description.isEmpty() && pattern.isEmpty()) continue;
    // "*.*" means every file; here that is "*" (a name need not have a dot).
    QStringList masks;
    for (QString m : pattern.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
      m = m.trimmed();
      if (m == QLatin1String("*.*")) m = QStringLiteral("*");
      if (!m.isEmpty()) masks << m;
    }
    if (masks.isEmpty()) masks << QStringLiteral("*");
    const QString list = masks.join(QLatin1Char(' '));
    if (description.isEmpty() || description == pattern) {
      out << list;
      continue;
    }
    // The dialog reads the masks from the description's last parentheses:
    // they are written there, in place of any the description shows.
    if (description.endsWith(QLatin1Char(')'))) {
      const qsizetype open = description.lastIndexOf(QLatin1Char('('));
      if (open >= 0 && description.indexOf(QLatin1Char('*'), open) >= 0) description = description.left(open).trimmed();
    }
    out << description + QStringLiteral(" (") + list + QLatin1Char(')');
  }
  return out;
}

std::optional<FileDialogResult> CommonDialogHost::ShowFileDialog(const FileDialogRequest&) { return std::nullopt; }
void CommonDialogHost::ShowPrinterSetup() {}

PV_DEFINE_HOST_SLOT(CommonDialogHost, Wired)
PV_DEFINE_HOST_ACCESSORS(CommonDialogHost, CommonDialogs, SetCommonDialogHost)

namespace {

int RunFileDialog(bool save, const QString& defaultExt, const QString& filter, QString& fileName, const QString& title,
                  FileKind kind) {
  FileDialogRequest request;
  request.save = save;
  request.defaultExt = defaultExt;
  request.filters = FileDialogFilters(filter);
  request.filterIndex = 1;
  request.fileName = fileName;
  request.title = title;
  request.kind = kind;
  std::optional<FileDialogResult> result;
  try {
    result = CommonDialogs().ShowFileDialog(request);
  } catch (...) {
    return -1;
  }
  if (!result || result->fileName.isEmpty()) return -1;
  QString chosen = result->fileName;
  if (save && !defaultExt.isEmpty() && QFileInfo(chosen).suffix().isEmpty() && !chosen.endsWith(QLatin1Char('.'))) {
    chosen += QLatin1Char('.') + defaultExt;
  }
  if (!save && !QFileInfo(chosen).isFile()) return -1;
  if (save && QFileInfo(chosen).isDir()) return -1;
  fileName = chosen;
  return result->filterIndex < 1 ? 1 : result->filterIndex;
}

}  // namespace

int ShowOpenDialog(const QString& defaultExt, const QString& filter, QString& fileName, const QString& title,
                   FileKind kind) {
  return RunFileDialog(false, defaultExt, filter, fileName, title, kind);
}

int ShowSaveDialog(const QString& defaultExt, const QString& filter, QString& fileName, const QString& title,
                   FileKind kind) {
  return RunFileDialog(true, defaultExt, filter, fileName, title, kind);
}

void ShowPrinterSetup() {
  try {
    CommonDialogs().ShowPrinterSetup();
  } catch (...) {
  }
}

PV_DEFINE_HOST_SLOT(ColorDialogHost, Wired)
PV_DEFINE_HOST_ACCESSORS(ColorDialogHost, ColorDialogs, SetColorDialogHost)

QColor ColorFromLong(std::int32_t color) {
  const auto v = static_cast<std::uint32_t>(color);
  return QColor(static_cast<int>(v & 0xff), static_cast<int>((v >> 8) & 0xff), static_cast<int>((v >> 16) & 0xff));
}

std::int32_t LongFromColor(const QColor& color) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(color.red()) |
                                   (static_cast<std::uint32_t>(color.green()) << 8) |
                                   (static_cast<std::uint32_t>(color.blue()) << 16));
}

std::optional<QColor> ColorDialogHost::ChooseColor(const QColor&, QWidget*) { return std::nullopt; }

bool ShowColorDialog(std::int32_t& color, QWidget* owner) {
  const std::optional<QColor> chosen = ColorDialogs().ChooseColor(ColorFromLong(color), owner);
  if (!chosen || !chosen->isValid()) return false;
  color = LongFromColor(*chosen);
  return true;
}

}  // namespace pv
