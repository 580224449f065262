#pragma once
// The slot behind each "settable host" of the program: an interface whose
// process-wide instance the component that implements it installs, with a
// do-nothing default until then. Setters take no ownership and return the
// previous instance; nullptr puts the default back.

namespace pv {

template <class T>
class HostSlot {
 public:
  T& Get() { return current_ != nullptr ? *current_ : fallback_; }
  T* Set(T* host) {
    T* previous = current_;
    current_ = host;
    return previous;
  }

 private:
  T fallback_{};
  T* current_ = nullptr;
};

}  // namespace pv
