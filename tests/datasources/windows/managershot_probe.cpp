// Shows the data-source manager on a real display with the sample address
// list on view, sorted through the sort dialog by city, descending, and
// saves what was drawn (manager.png) into the folder given as the first
// argument. Prints where the grid lies ("grid x y width height"), the sort
// in force ("sort ...") and the first cities on view ("city ...").
#include "core/database.h"
#include "core/hosts.h"
#include "datasources/windows/databasedata.h"
#include "datasources/windows/dlgsort.h"
#include "datasources/windows/sourcedialogwindows.h"
#include "tests/support/answer_boxes.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QTableView>
#include <QTimer>

#include <cstdio>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (argc < 2) return 3;
  const QString out = QString::fromLocal8Bit(argv[1]);
  const QString home = qEnvironmentVariable("PLAVIK_HOME");
  QDir(home).mkpath(QStringLiteral("database"));
  QFile::copy(QStringLiteral(PLAVIK_PROGRAM_DIR "/database/indirizzi.dbf"),
              home + QStringLiteral("/database/indirizzi.dbf"));
  pv::test::AnswerMessageBoxesWith([](const pv::MsgBoxRequest& r) {
    std::fprintf(stderr, "message: %s\n", r.text.toUtf8().constData());
    return pv::MsgAnswer::Ok;
  });
  static pv::ShellViewsHost noPanel;  // no print panel to reload
  pv::SetShellViewsHost(&noPanel);
  static pv::SourceDialogWindows dialogs;
  pv::SetSourceDialogs(&dialogs);
  pv::OpenDatabase();

  pv::DataBaseData view;
  view.resize(1000, 640);
  view.show();
  view.Init();
  if (view.lstRegistrations()->count() < 1) return 5;
  emit view.lstRegistrations()->itemClicked(view.lstRegistrations()->item(0));

  QTimer::singleShot(300, &app, [&]() {
    // The sort dialog: level 0 by CITTA, descending.
    QTimer::singleShot(300, &app, [&]() {
      auto* sort = qobject_cast<pv::dlgSort*>(QApplication::activeModalWidget());
      if (sort == nullptr) QApplication::exit(6);
      QComboBox* field = sort->OLEDBFilter1()->FieldList(0);
      emit field->activated(field->findText(QStringLiteral("CITTA")));
      emit sort->OLEDBFilter1()->OrderList(0)->activated(1);
      sort->accept();
    });
    view.Command_Click(pv::DataBaseDataModel::CmdSort);
    QTimer::singleShot(500, &app, [&]() {
      const QImage shot = view.grab().toImage();
      const bool saved = shot.save(out + QStringLiteral("/manager.png"));
      const QRect grid =
          view.DataView()->geometry().translated(view.DataView()->parentWidget()->mapTo(&view, QPoint()));
      std::printf("grid %d %d %d %d\n", grid.x(), grid.y(), grid.width(), grid.height());
      std::printf("sort %s\n", view.Model().m_SortString.toUtf8().constData());
      QAbstractItemModel* m = view.DataView()->model();
      for (int r = 0; r < 3; ++r) std::printf("city %s\n", m->data(m->index(r, 4)).toString().toUtf8().constData());
      std::fflush(stdout);
      QApplication::exit(saved && view.DataView()->isVisible() ? 0 : 4);
    });
  });
  return QApplication::exec();
}
