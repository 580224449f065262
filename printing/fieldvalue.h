#pragma once
// What the merge field values read besides the run: the clock of the date
// field and the generator of the random number field. The program runs on
// the system clock and one generator seeded once per process; tests set a
// clock and a seed.

#include <QDateTime>

#include <cstdint>
#include <functional>

namespace pv {

using MergeClock = std::function<QDateTime()>;

// The clock the date field reads for every label; an empty one is the
// system clock. Returns the previous one.
MergeClock SetMergeClock(MergeClock clock);

// Starts the random number field's generator again from `seed`.
void SeedMergeRandom(std::uint64_t seed);

}  // namespace pv
