#include "datasources/readers/numericlocale.h"

#include <clocale>

namespace pv {

void UseCNumericLocale() { std::setlocale(LC_NUMERIC, "C"); }

}  // namespace pv
