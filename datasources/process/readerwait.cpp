#include "datasources/process/readerwait.h"

namespace pv {

QString ReaderCancelledText() { return QStringLiteral("Lettura annullata dall'utente."); }

NoticeReaderWait::NoticeReaderWait(std::unique_ptr<WaitNotice> notice, std::chrono::milliseconds showAfter)
    : m_notice(std::move(notice)), m_showAfter(showAfter), m_thread(std::this_thread::get_id()) {}

bool NoticeReaderWait::Waiting(std::chrono::milliseconds waited) {
  if (m_handling || std::this_thread::get_id() != m_thread || waited < m_showAfter) return true;
  if (!m_shown) {
    m_notice->Show();
    m_shown = true;
  }
  m_handling = true;
  bool cancelled = false;
  try {
    cancelled = m_notice->Cancelled();
  } catch (...) {
    m_handling = false;
    throw;
  }
  m_handling = false;
  return !cancelled;
}

void NoticeReaderWait::Ended() {
  if (m_handling || std::this_thread::get_id() != m_thread || !m_shown) return;
  m_shown = false;
  m_notice->Hide();
}

void NoticeReaderWait::Repaint() {
  // Once shown, the notice handles every event at each Waiting.
  if (m_handling || std::this_thread::get_id() != m_thread || m_shown) return;
  m_handling = true;
  try {
    m_notice->Repaint();
  } catch (...) {
    m_handling = false;
    throw;
  }
  m_handling = false;
}

}  // namespace pv
