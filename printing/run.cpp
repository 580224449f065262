#include "printing/run.h"

namespace pv {

void PrintRunValues::SetToLabels(std::int32_t labels, std::int32_t perPage) {
  const Pagination pages = PaginateLabels(labels, perPage);
  m_PageCount = pages.PageCount;
  m_FirstLabel = 1;
  m_LastLabel = pages.LastLabel;
  m_CountMode = 0;
  m_RangePages = 3;
}

}  // namespace pv
