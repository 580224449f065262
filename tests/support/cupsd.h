#pragma once
// A private CUPS scheduler for tests: cupsd started on 127.0.0.1 at a free
// port, in a temporary folder with its own cupsd.conf and cups-files.conf
// (configuration, spool, logs, cache and state all inside it; no browsing,
// no printcap, no systemd), and stopped when the object goes.
//
// cupsd never runs as root: root ignores file rights, so a test that runs as
// root starts it as "nobody" (the folder is handed to that account); an
// ordinary user runs it as itself. While it runs, libcups of this process
// (cupsSetServer) and the children the test starts (CUPS_SERVER) talk to it.
//
// Queues print into files of the folder: a raw queue gets the job's file as
// it was sent (through a backend of the folder's own, beside links to the
// system's filters and backends); a paper queue runs the job through the PDF
// filter with a default paper, so its file shows the page size the job
// printed on. Skip a test with MissingReason() when CUPS is not installed.
#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>
#include <vector>

namespace pv::test {

class CupsServer {
 public:
  CupsServer();
  ~CupsServer();
  CupsServer(const CupsServer&) = delete;
  CupsServer& operator=(const CupsServer&) = delete;

  // Empty when cupsd and the CUPS tools are installed; else why not (the
  // reason a test skips with).
  static QString MissingReason();

  // Starts the scheduler and waits until it answers. False with the reason
  // (and the end of its error log) when it does not start.
  bool Start(QString* reason = nullptr);
  // Stops it; libcups and CUPS_SERVER go back to what they were, unless
  // `keepAddress` (a print system that went away: clients still ask it). The
  // destructor stops it and puts the address back.
  void Stop(bool keepAddress = false);
  bool Running() const;

  int Port() const { return m_port; }
  QString Address() const;  // "127.0.0.1:port"

  // A queue that writes each job's file unchanged to OutputFile(name).
  bool AddRawQueue(const QString& name, QString* reason = nullptr);
  // A queue whose jobs go through the PDF filter onto `defaultPaper` ("Letter"
  // or "A4") unless the job names its paper; A4, Letter and custom sizes are
  // offered. Writes the filtered PDF to OutputFile(name).
  bool AddPaperQueue(const QString& name, const QString& defaultPaper, QString* reason = nullptr);
  bool SetDefault(const QString& name, QString* reason = nullptr);  // lpadmin -d
  bool Disable(const QString& name, QString* reason = nullptr);     // cupsdisable
  bool Delete(const QString& name, QString* reason = nullptr);      // lpadmin -x

  QString OutputFile(const QString& queue) const;
  // Removes a queue's output file (before the next job).
  void ClearOutput(const QString& queue) const;

  struct Job {
    int id = 0;
    QString queue;
    QString title;
    int state = 0;  // ipp_jstate_t: 3 pending ... 9 completed
  };
  // The jobs of a queue (every queue when empty), finished or not.
  std::vector<Job> Jobs(const QString& queue = QString()) const;
  // Waits until the queue has no job left to do; false after timeoutMs.
  bool WaitUntilIdle(const QString& queue, int timeoutMs = 20000) const;
  // Waits for the queue's jobs, then returns its output file (empty when
  // there is none).
  QByteArray WaitForOutput(const QString& queue, int timeoutMs = 20000) const;

  // The scheduler's error log (for the message of a failing test).
  QString ErrorLog() const;

 private:
  bool Admin(const QString& tool, QStringList args, QString* reason);
  bool WriteConfig(QString* reason);

  std::unique_ptr<QTemporaryDir> m_dir;
  QProcess m_cupsd;
  int m_port = 0;
  bool m_asNobody = false;
  bool m_addressSet = false;  // this process points at the server
  QByteArray m_oldServerEnv;
  bool m_hadServerEnv = false;
};

}  // namespace pv::test
