// lab-print IN.lab OUT.pdf [PAGES [FIRST LAST RANGE]] [--merge ID [--sort S] [--filter F]] [--printer P]
//
// Prints the label of a .lab file on its print format (looked up in the
// program database of PLAVIK_HOME) through the real print job on the "PDF"
// printer (into OUT.pdf), or with --printer on the print system's printer P
// (OUT.pdf is then not written): PAGES pages (1 by default), with positions FIRST..LAST on the
// pages that the page filter RANGE (0 none, 1 first page, 2 all pages, 3
// last page) restricts. With --merge the label is printed once per record of
// registration ID, sorted by S and filtered by F (as the sort and filter
// dialogs write them); the pages then come from the records. Settings come
// from the program folder's plavik.ini as at start-up; without a merge,
// column fields are empty. Exit status: 0 printed; 1 with the message on
// standard error; 2 wrong arguments; 3 sent, with a warning of the job on
// standard error (a stopped queue keeps it).
#include "tests/support/answer_boxes.h"
#include "app/dialogs.h"
#include "core/hosts.h"
#include "core/settings.h"
#include "document/document.h"
#include "document/model.h"
#include "document/pageorigin.h"
#include "platform/msgbox.h"
#include "platform/printer/printer.h"
#include "platform/programfolder.h"
#include "printing/engine.h"

#include <QApplication>

#include <cstdio>
#include <limits>
#include <optional>

namespace {

// The save dialog of the job answers with the output file.
struct OutputFileDialog : pv::CommonDialogHost {
  QString file;
  std::optional<pv::FileDialogResult> ShowFileDialog(const pv::FileDialogRequest&) override {
    return pv::FileDialogResult{file, 1};
  }
};

bool ReadCount(const QString& text, int low, int high, int* out) {
  bool ok = false;
  const int v = text.toInt(&ok);
  if (!ok || v < low || v > high) return false;
  *out = v;
  return true;
}

int Fail(const QString& message) {
  std::fprintf(stderr, "lab-print: %s\n", qPrintable(message));
  pv::RemoveTempImageFolder();
  return 1;
}

// The options after the positional arguments.
struct MergeOptions {
  bool merge = false;
  int registration = 0;
  QString sort, filter;
  bool sorted = false, filtered = false;
  QString printer;  // empty: "PDF"
};

// Splits the options off `args`; false on a wrong option.
bool TakeOptions(QStringList& args, MergeOptions* options) {
  QStringList positional;
  for (qsizetype i = 0; i < args.size(); ++i) {
    const QString& a = args[i];
    if (!a.startsWith(QLatin1String("--"))) {
      positional << a;
      continue;
    }
    if (i + 1 >= args.size()) return false;
    const QString value = args[++i];
    if (a == QLatin1String("--merge")) {
      if (!ReadCount(value, 1, std::numeric_limits<int>::max(), &options->registration)) return false;
      options->merge = true;
    } else if (a == QLatin1String("--sort")) {
      options->sort = value;
      options->sorted = true;
    } else if (a == QLatin1String("--filter")) {
      options->filter = value;
      options->filtered = true;
    } else if (a == QLatin1String("--printer")) {
      if (value.isEmpty()) return false;
      options->printer = value;
    } else {
      return false;
    }
  }
  args = positional;
  return options->merge || (!options->sorted && !options->filtered);
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  QStringList args = app.arguments();
  MergeOptions merge;
  const bool optionsRead = TakeOptions(args, &merge);
  int pages = 1, first = 0, last = 0, range = 0;
  const bool counted = args.size() < 4 || ReadCount(args[3], 1, 100000, &pages);
  const bool ranged = args.size() < 5 || (ReadCount(args[4], 1, 100000, &first) &&
                                          ReadCount(args[5], 1, 100000, &last) && ReadCount(args[6], 0, 3, &range));
  if ((args.size() != 3 && args.size() != 4 && args.size() != 7) || !counted || !ranged || !optionsRead) {
    std::fprintf(stderr,
                 "usage: lab-print IN.lab OUT.pdf [PAGES [FIRST LAST RANGE]] [--merge ID [--sort S] [--filter F]]"
                 " [--printer P]\n");
    return 2;
  }

  // Every message box goes to standard error; a critical one or a database
  // failure fails the run.
  QStringList failures;
  QStringList warnings;
  bool printing = false;
  pv::test::AnswerMessageBoxesWith([&](const pv::MsgBoxRequest& r) {
    std::fprintf(stderr, "%s\n", qPrintable(r.text));
    if (!r.detail.isEmpty()) std::fprintf(stderr, "%s\n", qPrintable(r.detail));
    if (r.icon == pv::MsgIcon::Critical || r.text.startsWith(QStringLiteral("DATA Access error"))) failures << r.text;
    if (printing && r.icon == pv::MsgIcon::Exclamation) warnings << r.text;
    return r.buttons == pv::MsgButtons::Ok ? pv::MsgAnswer::Ok : pv::MsgAnswer::Cancel;
  });
  OutputFileDialog dialog;
  dialog.file = args[2];
  pv::SetCommonDialogHost(&dialog);
  // No window: start-up's views and the editor's style are not there.
  static pv::ShellViewsHost noViews;
  static pv::ShellStyleHost noStyle;
  pv::SetShellViewsHost(&noViews);
  pv::SetShellStyleHost(&noStyle);

  if (!pv::LoadSettings()) return Fail(QStringLiteral("no print system"));
  if (!failures.isEmpty()) return Fail(failures.join(QLatin1Char('\n')));
  QString reason;
  if (!pv::ReadLabFileIntoDocument(args[1], &reason)) return Fail(args[1] + QStringLiteral(": refused: ") + reason);
  pv::DocFileName = args[1];
  pv::PlaceLabelPageAsEditor();

  const QString printer = merge.printer.isEmpty() ? QString::fromLatin1(pv::PdfPrinterName) : merge.printer;
  if (!pv::SetCurrentPrinter(printer)) return Fail(QStringLiteral("no printer \"%1\"").arg(printer));
  pv::PrintEngine& engine = pv::PrintRun();
  engine.ResetPrinterInformation();
  if (!failures.isEmpty()) return Fail(failures.join(QLatin1Char('\n')));
  if (pv::LabelsPerPage(engine.Run().m_Format.Sheet) <= 0)
    return Fail(QStringLiteral("no print format \"%1\"").arg(pv::Header.LabelFormatCode.trimmed()));

  pv::PrintRunValues run = engine.Run();
  run.m_PageCount = pages;
  if (args.size() == 7) {
    run.m_FirstLabel = first;
    run.m_LastLabel = last;
    run.m_RangePages = range;
  }
  engine.SetRun(run);
  if (merge.merge) {
    // A source that cannot merge has said why (31025, 31026) and gone back
    // to no merge; so has a filter that leaves no record.
    engine.ChooseMergeSource(merge.registration);
    if (merge.sorted && !engine.SetPrintSort(merge.sort)) return Fail(QStringLiteral("sort refused"));
    if (merge.filtered && !engine.SetPrintFilter(merge.filter)) return Fail(QStringLiteral("filter refused"));
    if (!engine.Merging()) return Fail(QStringLiteral("registration %1 does not merge").arg(merge.registration));
  }
  printing = true;
  engine.PrintDocument(true);
  printing = false;
  if (!failures.isEmpty()) return Fail(failures.join(QLatin1Char('\n')));
  pv::RemoveTempImageFolder();
  return warnings.isEmpty() ? 0 : 3;
}
