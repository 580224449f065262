#include "properties/arraydialog.h"

#include "platform/decimalreader.h"
#include "platform/msgbox.h"
#include "platform/stringtable.h"

#include <cmath>
#include <optional>

namespace pv {

QString ArrayDialogModel::Caption() const { return LoadResString(11107); }

int ArrayDialogModel::Check() {
  std::optional<double> v[4];
  for (int i = 0; i < 4; ++i) v[i] = ReadDecimal(Text[static_cast<std::size_t>(i)]);
  auto within = [](double x, double lo, double hi) { return lo <= x && x <= hi; };
  if (!v[0] || !v[1] || !within(*v[0], 1, 20) || !within(*v[1], 1, 20)) return 15099;
  if (!v[2] || !v[3] || !within(*v[2], 1, 100) || !within(*v[3], 1, 100)) return 15100;
  Answer.xCopy = static_cast<std::int16_t>(std::nearbyint(*v[0]));
  Answer.yCopy = static_cast<std::int16_t>(std::nearbyint(*v[1]));
  Answer.xDelta = static_cast<float>(*v[2]);
  Answer.yDelta = static_cast<float>(*v[3]);
  Answer.RetCode = 1;
  return 0;
}

bool ArrayDialogModel::Confirm() {
  const int message = Check();
  if (message != 0) MsgBoxRes(message, MsgIcon::Information);
  return message == 0;
}

}  // namespace pv
