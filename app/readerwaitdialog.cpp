#include "app/readerwaitdialog.h"

#include "datasources/process/readerprocess.h"
#include "datasources/process/readerwait.h"

#include <QApplication>
#include <QPointer>
#include <QProgressDialog>

#include <memory>

namespace pv {

namespace {

class ReaderWaitDialog : public WaitNotice {
 public:
  void Show() override {
    m_dialog = new QProgressDialog(QApplication::activeWindow());
    m_dialog->setWindowTitle(QApplication::applicationDisplayName());
    m_dialog->setLabelText(QStringLiteral("Lettura dell'origine dati in corso..."));
    m_dialog->setCancelButtonText(QStringLiteral("Annulla"));
    m_dialog->setRange(0, 0);  // no end to show: it moves while the read goes on
    // The rest of the program takes no input until the read is over.
    m_dialog->setWindowModality(Qt::ApplicationModal);
    m_dialog->setAutoClose(false);
    m_dialog->setAutoReset(false);
    m_dialog->setMinimumDuration(0);
    m_dialog->show();
  }

  void Hide() override { delete m_dialog; }

  bool Cancelled() override {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    return m_dialog != nullptr && m_dialog->wasCanceled();
  }

  void Repaint() override { QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents); }

 private:
  // Its window owns it too, and may be gone first.
  QPointer<QProgressDialog> m_dialog;
};

}  // namespace

void InstallReaderWaitDialog() {
  ReaderProcessSettings settings = ReaderSettings();
  settings.wait = std::make_shared<NoticeReaderWait>(std::make_unique<ReaderWaitDialog>());
  SetReaderSettings(settings);
}

}  // namespace pv
