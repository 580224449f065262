#pragma once
// What the drawing made once and a job asks for again and again (fill tiles,
// art-text outlines), kept by what makes it, most recently used first, with
// bounds on how many and how large. Every label of a job then gets the very
// same object: a PDF keeps a picture by its cache key, so it holds one copy.

#include <QtGlobal>

#include <cstddef>
#include <list>
#include <mutex>
#include <utility>

namespace pv {

template <typename Key, typename Value>
class RecentCache {
 public:
  using Cost = qsizetype (*)(const Value&);

  // At most maxItems, and with cost given, at most maxCost of them in all;
  // the one most recently made is kept even when it alone is larger.
  explicit RecentCache(std::size_t maxItems, Cost cost = nullptr, qsizetype maxCost = 0)
      : m_maxItems(maxItems), m_cost(cost), m_maxCost(maxCost) {}

  // The value kept for key, or make()'s, kept from now on. make runs without
  // the lock (a large tile takes a while); when two threads make one key at
  // once, both get the value kept first.
  template <typename Make>
  Value Get(const Key& key, Make make) {
    {
      std::lock_guard<std::mutex> g(m_lock);
      if (const Value* kept = Find(key)) return *kept;
    }
    Value made = make();
    std::lock_guard<std::mutex> g(m_lock);
    if (const Value* kept = Find(key)) return *kept;
    m_items.emplace_front(key, std::move(made));
    m_total += CostOf(m_items.front().second);
    while (m_items.size() > 1 && (m_items.size() > m_maxItems || (m_cost && m_total > m_maxCost))) {
      m_total -= CostOf(m_items.back().second);
      m_items.pop_back();
    }
    return m_items.front().second;
  }

 private:
  const Value* Find(const Key& key) {
    for (auto it = m_items.begin(); it != m_items.end(); ++it) {
      if (!(it->first == key)) continue;
      m_items.splice(m_items.begin(), m_items, it);
      return &m_items.front().second;
    }
    return nullptr;
  }
  qsizetype CostOf(const Value& value) const { return m_cost ? m_cost(value) : 0; }

  const std::size_t m_maxItems;
  const Cost m_cost;
  const qsizetype m_maxCost;
  std::mutex m_lock;
  std::list<std::pair<Key, Value>> m_items;
  qsizetype m_total = 0;
};

}  // namespace pv
