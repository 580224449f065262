#pragma once
// The slot behind each settable host and service of the program: an
// interface whose process-wide instance the composition root (app/wiring.cpp)
// installs. Every slot has a name and one of two kinds of default:
//
//   Headless  the interface's own do-little implementation is what the
//             program does without a window (the document and the label
//             drawing run on their own: tests, the command-line tools);
//   Wired     the program must install an implementation. Until it does, the
//             slot answers with the interface's default but reports itself
//             on every use (ReportUnwiredHost), so that a missing install
//             fails a test instead of quietly giving wrong output.
//
// Set() takes no ownership and returns the previous instance; nullptr puts
// the default back. ScopedHost installs for as long as it lives (a print job,
// a preview, a test) and then puts the previous instance back.
//
// A component that declares an interface T declares its slot with
// PV_DECLARE_HOST_SLOT(T) in the header and defines it with
// PV_DEFINE_HOST_SLOT(T, kind) in one source file; Slot<T>() reaches it.

#include <QtGlobal>

#include <string>
#include <vector>

namespace pv {

enum class HostDefault { Headless, Wired };

// What every slot tells the registry: its name, its kind and whether an
// implementation is installed now.
class HostSlotBase {
 public:
  HostSlotBase(const char* name, HostDefault kind) : m_name(name), m_kind(kind) { Registry().push_back(this); }
  virtual ~HostSlotBase() { std::erase(Registry(), this); }
  HostSlotBase(const HostSlotBase&) = delete;
  HostSlotBase& operator=(const HostSlotBase&) = delete;

  const char* Name() const { return m_name; }
  HostDefault Kind() const { return m_kind; }
  virtual bool Installed() const = 0;
  // Back to the default (tests start each case from it).
  virtual void Clear() = 0;

  // Every slot of the program (those linked in), in the order they were made.
  static std::vector<HostSlotBase*>& Registry() {
    static std::vector<HostSlotBase*> all;
    return all;
  }

 private:
  const char* m_name;
  HostDefault m_kind;
};

// Where a use of an unwired slot is told. The default reporter logs an error
// naming the slot, and stops a debug build at once; tests install one that
// fails the running test. Returns the previous reporter.
using UnwiredHostReporter = void (*)(const char* name);
inline void LogUnwiredHost(const char* name) {
  qCritical("plavik: the host \"%s\" is used but was never installed (app/wiring.cpp)", name);
  Q_ASSERT_X(false, "HostSlot", name);
}
inline UnwiredHostReporter& CurrentUnwiredHostReporter() {
  static UnwiredHostReporter reporter = &LogUnwiredHost;
  return reporter;
}
inline UnwiredHostReporter SetUnwiredHostReporter(UnwiredHostReporter reporter) {
  UnwiredHostReporter previous = CurrentUnwiredHostReporter();
  CurrentUnwiredHostReporter() = reporter != nullptr ? reporter : &LogUnwiredHost;
  return previous;
}
inline void ReportUnwiredHost(const char* name) { CurrentUnwiredHostReporter()(name); }

template <class T>
class HostSlot final : public HostSlotBase {
 public:
  HostSlot(const char* name, HostDefault kind) : HostSlotBase(name, kind) {}

  T& Get() {
    if (m_current != nullptr) return *m_current;
    if (Kind() == HostDefault::Wired) ReportUnwiredHost(Name());
    return m_fallback;
  }
  T* Set(T* host) {
    T* previous = m_current;
    m_current = host;
    return previous;
  }
  T* Current() const { return m_current; }
  bool Installed() const override { return m_current != nullptr; }
  void Clear() override { m_current = nullptr; }

 private:
  T m_fallback{};
  T* m_current = nullptr;
};

// The slot of interface T (defined by the component that declares T).
template <class T>
HostSlot<T>& Slot();

// Installs `host` into the slot of T while it lives; afterwards the previous
// instance comes back, unless someone else has been installed meanwhile.
template <class T>
class [[nodiscard]] ScopedHost {
 public:
  explicit ScopedHost(T& host) : m_host(&host), m_previous(Slot<T>().Set(&host)) {}
  ~ScopedHost() {
    if (Slot<T>().Current() == m_host) Slot<T>().Set(m_previous);
  }
  ScopedHost(const ScopedHost&) = delete;
  ScopedHost& operator=(const ScopedHost&) = delete;

 private:
  T* m_host;
  T* m_previous;
};

}  // namespace pv

// Both are used inside namespace pv, with the interface's plain name.
#define PV_DECLARE_HOST_SLOT(T) \
  template <>                   \
  HostSlot<T>& Slot<T>();

// A slot made during static initialisation, so that the registry knows every
// slot linked into the program from the start.
#define PV_DEFINE_HOST_SLOT(T, kind)                                         \
  namespace {                                                                \
  HostSlot<T>& T##SlotInstance() {                                           \
    static HostSlot<T> slot(#T, HostDefault::kind);                          \
    return slot;                                                             \
  }                                                                          \
  [[maybe_unused]] const bool T##SlotRegistered = (T##SlotInstance(), true); \
  }                                                                          \
  template <>                                                                \
  HostSlot<T>& Slot<T>() {                                                   \
    return T##SlotInstance();                                                \
  }

// The component's own names for its slot: `getter()` the instance in use,
// `setter(host)` installs one (see HostSlot::Set).
#define PV_DEFINE_HOST_ACCESSORS(T, getter, setter) \
  T& getter() { return Slot<T>().Get(); }           \
  T* setter(T* host) { return Slot<T>().Set(host); }
