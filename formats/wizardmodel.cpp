#include "formats/wizardmodel.h"

#include "core/database.h"
#include "document/hosts.h"
#include "document/labelfile.h"
#include "document/model.h"
#include "formats/formatstore.h"
#include "formats/numbertext.h"
#include "formats/templatestore.h"
#include "formats/wizardhost.h"
#include "platform/db/dberror.h"
#include "platform/msgbox.h"
#include "platform/programfolder.h"
#include "platform/runtime.h"
#include "platform/stringtable.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>

namespace pv {

namespace {

// Once the codes of one size reach this length, the rest is shown as a marker.
constexpr int kCodesLength = 120;
const char* const kCodesCut = ", . . .";

QString SizeText(double width, double height) {
  return Trim(GeneralNumber(width) + QStringLiteral(" x ") + GeneralNumber(height));
}

// A failing query is reported; a database that is not open at all was
// reported by start-up already, and leaves the lists empty.
void ReportDbError(const DbError& e) {
  if (e.Number() != DbErrClosed) MsgBox(DataAccessErrorText(e), MsgIcon::None, MsgButtons::Ok);
}

// What a store read gives, or nothing when it fails (reported).
template <class Read>
auto RowsOrNone(Read read) -> decltype(read()) {
  try {
    return read();
  } catch (const DbError& e) {
    ReportDbError(e);
    return {};
  }
}

// The files of a folder whose extension is `extension` in any letter case:
// plain files only, sorted by name, as full paths.
QStringList ListFolder(const QString& folder, const QString& extension) {
  QStringList files;
  const QDir dir(folder);
  if (!dir.exists()) return files;
  for (const QFileInfo& entry : dir.entryInfoList(QDir::Files | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase)) {
    if (!entry.isFile()) continue;
    if (entry.suffix().compare(extension, Qt::CaseInsensitive) != 0 || entry.completeBaseName().isEmpty()) continue;
    files << dir.filePath(entry.fileName());
  }
  return files;
}

}  // namespace

QString WizardModel::CommandTooltip(int index) { return LoadResString(13407 + index); }

QString WizardModel::CommandDescription(int index) {
  static const int kDescriptions[kCommandCount] = {27010, 27009, 27007, 27005, 27001};
  return index >= 0 && index < kCommandCount ? LoadResString(kDescriptions[index]) : QString();
}

QString WizardModel::Title() { return LoadResString(27003); }

WizardModel::WizardModel() : m_grid(ImageGridVariant::ImageListNoBorder, this), m_Models(1), m_Files(QString()) {
  m_grid.pSelectMode = false;
  m_countCaption = LoadResString(27000);
}

void WizardModel::Init() {
  try {
    EnsureDeliveredTemplateRows();
  } catch (const DbError& e) {
    ReportDbError(e);
  }
  p_SetMode(1);
}

void WizardModel::p_SetMode(int mode) {
  m_Mode = mode;
  switch (mode) {
    case 1: LoadDimension(); break;
    case 2: LoadTemplate(); break;
    case 3: LoadBackGround(); break;
    case 4: LoadBorder(); break;
    default: break;
  }
  m_grid.Refresh();
}

void WizardModel::Command_Click(int Index) {
  if (Index == 0) {
    if (OpenDocument()) WizardWindow().SelectView(QStringLiteral("tbr_editor"));
  } else if (Index >= 1 && Index <= 4) {
    p_SetMode(Index);
  }
}

void WizardModel::SetCardGrid(int count, int caption) {
  m_grid.pSelectMode = false;
  m_grid.SetImageWidth(360);
  m_grid.SetImageHeight(160);
  m_grid.SetImageSpaceX(10);
  m_grid.SetImageSpaceY(10);
  m_grid.SetImageCount(count);
  m_countCaption = LoadResString(caption) + QString::number(count);
}

void WizardModel::LoadDimension() {
  const std::vector<PrintFormat> rows = RowsOrNone(&AllFormats);
  m_Models.assign(1, ModelEntry{});
  QHash<QString, std::size_t> entryOfSize;  // the first entry of each size text
  for (const PrintFormat& row : rows) {
    const QString key = SizeText(row.Width, row.Height);
    const auto known = entryOfSize.constFind(key);
    if (known != entryOfSize.constEnd()) {
      ModelEntry* found = &m_Models[*known];
      if (found->Codes.size() >= kCodesLength) {
        if (!found->Codes.contains(QLatin1String(kCodesCut))) found->Codes = Trim(found->Codes) + kCodesCut;
      } else {
        found->Codes = Trim(found->Codes) + QStringLiteral(", ") + Trim(row.Code);
      }
      found->printer = LoadResString(31035);
      continue;
    }
    ModelEntry e;
    e.DimText = key;
    e.Description = row.Description;
    e.Codes = Trim(row.Code);
    e.printer = row.printer;
    e.Width = row.Width;
    e.Height = row.Height;
    e.Code = Trim(row.Code);
    entryOfSize.insert(key, m_Models.size());
    m_Models.push_back(e);
  }
  SetCardGrid(static_cast<int>(m_Models.size()) - 1, 16007);
}

void WizardModel::LoadTemplate() {
  const std::vector<TemplateRow> rows = RowsOrNone(&AllTemplates);
  m_Models.assign(1, ModelEntry{});
  for (const TemplateRow& row : rows) {
    ModelEntry e;
    e.DimText = SizeText(row.Width, row.Height);
    e.Description = row.Description;
    e.Codes = GetFormatString(static_cast<float>(row.Width), static_cast<float>(row.Height), e.Code);
    e.Width = row.Width;
    e.Height = row.Height;
    e.ID_TEMPLATE = row.ID_TEMPLATE;
    m_Models.push_back(e);
  }
  SetCardGrid(static_cast<int>(m_Models.size()) - 1, 16008);
}

QString WizardModel::GetFormatString(float Width, float Height, QString& sDefault) {
  QString result;
  sDefault.clear();
  for (const PrintFormat& f : RowsOrNone(&AllFormats)) {
    if (!SameLabelSize(Width, Height, f.Width, f.Height)) continue;
    if (sDefault.isEmpty()) sDefault = f.Code;
    result = result.isEmpty() ? Trim(f.Code) : result + QStringLiteral(", ") + Trim(f.Code);
  }
  return result;
}

void WizardModel::LoadFiles(bool borders) {
  const QString folder =
      ProgramPath(borders ? QStringLiteral("graphics/border") : QStringLiteral("graphics/background"));
  const QStringList found = ListFolder(folder, borders ? QStringLiteral("emf") : QStringLiteral("bmp"));
  m_Files = QStringList{QString()} + found;
  m_thumbnails.Clear();
  m_FileCount = static_cast<int>(found.size());
  m_grid.SetImageCount(m_FileCount);
  m_grid.SetImageWidth(140);
  m_grid.SetImageHeight(80);
  m_countCaption = LoadResString(borders ? 16006 : 16002) + QString::number(m_grid.nBitmap);
  m_grid.Selected(-1);
}

void WizardModel::LoadBackGround() { LoadFiles(false); }
void WizardModel::LoadBorder() { LoadFiles(true); }

void WizardModel::SelectDimension(int Index) {
  if (Index < 1 || Index >= static_cast<int>(m_Models.size())) return;
  const double W = m_Models[static_cast<std::size_t>(Index)].Width;
  const double H = m_Models[static_cast<std::size_t>(Index)].Height;
  QString code;
  try {
    QString first;
    bool anyLastUsed = false;
    for (const PrintFormat& f : AllFormats()) {
      // The exact size, compared as numbers (no text of them in any locale).
      if (f.Width != W || f.Height != H) continue;
      if (first.isEmpty()) first = f.Code;
      if (FormatLastUsed(f.Code)) {
        code = f.Code;
        anyLastUsed = true;
      }
    }
    if (!anyLastUsed) code = first;
  } catch (const DbError& e) {
    ReportDbError(e);
    return;
  }
  Header.LabelFormatCode = code;
  Header.LabelWidth = W;
  Header.LabelHeight = H;
  PrintPanel().ResetPrinterInformation();
  Editor().SetParameter();
  MainWindow().SetStatusBar();
}

void WizardModel::StorePictureName(QString& name, const QString& path) {
  if (path.size() > FixedNameLength) {
    // A cut name would point at no file: the label keeps what it had.
    MsgBox(QStringLiteral("Il percorso del file \"%1\" supera i %2 caratteri consentiti: "
                          "il file non può essere usato.")
               .arg(path)
               .arg(FixedNameLength),
           MsgIcon::Information);
    return;
  }
  name = FixedName(path);
}

void WizardModel::Apply(int iIndex) {
  const bool remove = iIndex != 0;
  switch (m_Mode) {
    case 1:
    case 2: {
      if (remove || m_SelIndex < 1 || m_SelIndex >= static_cast<int>(m_Models.size())) return;
      const ModelEntry e = m_Models[static_cast<std::size_t>(m_SelIndex)];
      if (m_Mode == 2) {
        OpenDocumentFile(ProgramPath(QStringLiteral("graphics/template/") + Trim(QString::number(e.ID_TEMPLATE)) +
                                     QStringLiteral(".LAB")));
      }
      Header.LabelWidth = e.Width;
      Header.LabelHeight = e.Height;
      Header.LabelFormatCode = e.Code;
      Editor().SetParameter();
      PrintPanel().ResetPrinterInformation();
      WizardWindow().SelectView(QStringLiteral("tbr_editor"));
      break;
    }
    case 3:
    case 4: {
      QString& name = m_Mode == 3 ? BackgroundName : BorderName;
      if (remove) {
        name = FixedName(QString());
      } else if (m_SelIndex >= 1 && m_SelIndex <= m_FileCount) {
        StorePictureName(name, m_Files[m_SelIndex]);
      }
      break;
    }
    default: break;
  }
}

void WizardModel::PaintImage(std::int16_t Index, std::int16_t X1, std::int16_t Y1, std::int16_t X2, std::int16_t Y2,
                             ImageSurface& Pic) {
  if (m_Mode == 1 || m_Mode == 2) {
    if (Index < 1 || Index >= static_cast<int>(m_Models.size())) return;
    PaintModelCard(Pic.dc(), m_Mode, m_Models[static_cast<std::size_t>(Index)], X1, Y1, X2, Y2);
  } else if (m_Mode == 3 || m_Mode == 4) {
    if (Index < 1 || Index > m_FileCount) return;
    if (m_Mode == 3) {
      PaintBackgroundCell(Pic.dc(), m_Files[Index], X1, Y1, X2, Y2, &m_thumbnails);
    } else {
      PaintBorderCell(Pic.dc(), m_Files[Index], X1, Y1, X2, Y2);
    }
  }
}

void WizardModel::ClickImage(std::int16_t Index) {
  m_SelIndex = Index;
  WizardWindow().PopupModelMenu();
}

void WizardModel::Repaint() { WizardWindow().RefreshMainWindow(); }

}  // namespace pv
