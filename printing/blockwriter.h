#pragma once
// What a join writes, handed on in large blocks: small pieces are gathered,
// large ones (a stream's data) passed through. A refused block is kept as a
// failure, never thrown.
#include <QByteArrayView>

#include <charconv>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <utility>
#include <vector>

namespace pv {

class BlockWriter {
 public:
  using Write = std::function<bool(const char* data, std::size_t size)>;

  explicit BlockWriter(Write write) : write_(std::move(write)) { buffer_.reserve(kBlock); }
  void Put(const char* data, std::size_t size) {
    pos_ += size;
    if (buffer_.size() + size > kBlock) Flush();
    if (size >= kBlock / 4) {
      ok_ = ok_ && write_(data, size);
    } else {
      buffer_.insert(buffer_.end(), data, data + size);
    }
  }
  void Put(QByteArrayView text) { Put(text.data(), std::size_t(text.size())); }
  void Put(std::uint64_t number) {
    char digits[24];
    const auto r = std::to_chars(digits, digits + sizeof digits, number);
    Put(digits, std::size_t(r.ptr - digits));
  }
  void Flush() {
    if (!buffer_.empty()) ok_ = ok_ && write_(buffer_.data(), buffer_.size());
    buffer_.clear();
  }
  // The bytes put so far.
  std::size_t Pos() const { return pos_; }
  // Every block handed on was taken.
  bool Ok() const { return ok_; }
  // Everything put is handed on and taken.
  bool Whole() const { return ok_ && buffer_.empty(); }

 private:
  static constexpr std::size_t kBlock = std::size_t(1) << 20;
  Write write_;
  std::vector<char> buffer_;
  std::size_t pos_ = 0;
  bool ok_ = true;
};

}  // namespace pv
