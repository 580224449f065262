#include "datasources/process/rowdecoder.h"

#include <algorithm>

namespace pv::readerprotocol {

namespace {

// A few threads are enough for the allocations to stop being the wait.
std::size_t ThreadCount() {
  const unsigned cores = std::thread::hardware_concurrency();
  return std::clamp<std::size_t>(cores > 1 ? cores - 1 : 1, 1, 4);
}

}  // namespace

RowDecoder::~RowDecoder() { Stop(); }

void RowDecoder::Stop() {
  {
    std::lock_guard lock(m_mutex);
    m_ending = true;
  }
  m_wake.notify_all();
  for (std::thread& thread : m_threads) thread.join();
  m_threads.clear();
}

void RowDecoder::Add(const char* body, std::size_t size) {
  {
    std::lock_guard lock(m_mutex);
    m_parts.emplace_back().body.assign(body, body + size);
  }
  // The threads start with the second frame: a small table decodes here.
  if (m_parts.size() == 2 && m_threads.empty()) {
    const std::size_t count = ThreadCount();
    for (std::size_t i = 0; i < count; ++i) m_threads.emplace_back([this] { Work(); });
  }
  m_wake.notify_one();
}

void RowDecoder::Work() {
  for (;;) {
    Part* part = nullptr;
    {
      std::unique_lock lock(m_mutex);
      m_wake.wait(lock, [&] { return m_next < m_parts.size() || m_ending; });
      if (m_next == m_parts.size()) return;
      part = &m_parts[m_next++];
    }
    Decode(*part);
  }
}

void RowDecoder::Decode(Part& part) {
  try {
    BodyReader body(part.body.data(), part.body.size());
    const std::uint32_t count = body.U32();
    // Every value takes a byte at least.
    if (count > kMaxFrameRows || (m_width > 0 && count > body.Left() / m_width)) throw BadStream{};
    part.rows.resize(count);
    for (std::vector<QVariant>& row : part.rows) {
      row.reserve(m_width);
      for (std::size_t c = 0; c < m_width; ++c) row.push_back(body.Value());
    }
    if (!body.AtEnd()) throw BadStream{};
  } catch (const BadStream&) {
    std::lock_guard lock(m_mutex);
    m_bad = true;
  }
  std::vector<char>().swap(part.body);
}

std::vector<std::vector<QVariant>> RowDecoder::Finish() {
  Stop();
  // What no thread took (all of it without threads).
  for (; m_next < m_parts.size(); ++m_next) Decode(m_parts[m_next]);
  if (m_bad) throw BadStream{};
  std::size_t total = 0;
  for (const Part& part : m_parts) total += part.rows.size();
  std::vector<std::vector<QVariant>> rows;
  if (m_parts.size() == 1) return std::move(m_parts.front().rows);
  rows.reserve(total);
  for (Part& part : m_parts) {
    std::move(part.rows.begin(), part.rows.end(), std::back_inserter(rows));
    std::vector<std::vector<QVariant>>().swap(part.rows);
  }
  return rows;
}

}  // namespace pv::readerprotocol
