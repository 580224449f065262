// qtdialog_probe FOLDER
//
// Starts as the program does (the system's dates Italian, Qt's locale and
// texts Italian) and prints what Qt's own file dialog shows for the files of
// FOLDER, one line each: name, type and date, tab-separated; then its type
// column's caption. Exit status: 0 shown; 1 the folder could not be listed.
#include "app/desktop.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileSystemModel>

#include <cstdio>

int main(int argc, char** argv) {
  pv::UseItalianSystemDates();
  QApplication app(argc, argv);
  pv::InstallItalianQtTexts(app);
  if (argc < 2) return 1;
  const QString folder = QString::fromLocal8Bit(argv[1]);
  QFileDialog dialog(nullptr, QStringLiteral("probe"), folder);
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setViewMode(QFileDialog::Detail);
  auto* model = dialog.findChild<QFileSystemModel*>();
  if (model == nullptr) return 1;
  // The folder is read by a thread of the model's: its rows are all there
  // once it says the folder is loaded.
  bool loaded = false;
  QObject::connect(model, &QFileSystemModel::directoryLoaded, [&](const QString& path) {
    if (QDir(path) == QDir(folder)) loaded = true;
  });
  const QModelIndex root = model->index(folder);
  while (!loaded) {
    if (model->canFetchMore(root)) model->fetchMore(root);
    QApplication::processEvents(QEventLoop::AllEvents, 50);
  }
  if (model->rowCount(root) == 0) return 1;
  for (int row = 0; row < model->rowCount(root); ++row) {
    const auto text = [&](int column) { return model->data(model->index(row, column, root)).toString(); };
    std::printf("%s\t%s\t%s\n", qPrintable(text(0)), qPrintable(text(2)), qPrintable(text(3)));
  }
  std::printf("%s\n", qPrintable(model->headerData(2, Qt::Horizontal).toString()));
  return 0;
}
