#pragma once
// Qt sets the C library's locale from the user's at start-up. The readers'
// libraries parse and print numbers with the C library, so an Italian user's
// decimal comma would turn "12.5" into 12: numbers must keep the C locale.

namespace pv {

// Sets LC_NUMERIC to "C". Call once at start-up, after the application object
// exists.
void UseCNumericLocale();

}  // namespace pv
