#pragma once
// work(i) for every i below count, on as many threads as there are cores
// (the calling thread among them); with no more threads to be had, the
// ones there are do the work.
#include <algorithm>
#include <atomic>
#include <cstddef>
#include <system_error>
#include <thread>
#include <vector>

namespace pv {

template <class Work>
void InThreads(std::size_t count, const Work& work) {
  std::atomic<std::size_t> next{0};
  const auto run = [&] {
    for (std::size_t i = next++; i < count; i = next++) work(i);
  };
  const std::size_t wanted = std::min<std::size_t>(count, std::max(1u, std::thread::hardware_concurrency()));
  std::vector<std::thread> threads;
  threads.reserve(wanted);
  try {
    while (threads.size() + 1 < wanted) threads.emplace_back(run);
  } catch (const std::system_error&) {
  }
  run();
  for (std::thread& t : threads) t.join();
}

}  // namespace pv
