#pragma once
// The rows of a table decoded on a few threads while its Rows frames are
// still arriving: each frame holds whole rows, so the frames decode apart
// and join in order at the end.
#include "datasources/process/protocol.h"

#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

namespace pv::readerprotocol {

class RowDecoder {
 public:
  explicit RowDecoder(std::size_t width) : m_width(width) {}
  ~RowDecoder();  // stops and joins the threads
  RowDecoder(const RowDecoder&) = delete;
  RowDecoder& operator=(const RowDecoder&) = delete;

  // A Rows frame's body (copied).
  void Add(const char* body, std::size_t size);
  // Every row in order; throws BadStream when a frame was damaged.
  std::vector<std::vector<QVariant>> Finish();

 private:
  struct Part {
    std::vector<char> body;
    std::vector<std::vector<QVariant>> rows;
  };

  void Work();
  void Decode(Part& part);
  void Stop();

  std::size_t m_width;
  std::mutex m_mutex;
  std::condition_variable m_wake;
  std::deque<Part> m_parts;  // its elements stay where they are as it grows
  std::size_t m_next = 0;    // the first part no thread has taken
  bool m_ending = false;     // no more parts come
  bool m_bad = false;
  std::vector<std::thread> m_threads;
};

}  // namespace pv::readerprotocol
