#include "dialogs/mul_div.h"

#include <cstdlib>
#include <limits>

namespace dravella::dialogs {

std::int32_t MulDiv(std::int32_t number, std::int32_t numerator, std::int32_t denominator) {
  if (denominator == 0) return -1;
  const std::int64_t product = static_cast<std::int64_t>(number) * numerator;
  const bool negative = (product < 0) != (denominator < 0);
  const std::int64_t magnitude = std::llabs(product);
  const std::int64_t divisor = std::llabs(static_cast<std::int64_t>(denominator));
  const std::int64_t rounded = (magnitude + divisor / 2) / divisor;
  const std::int64_t result = negative ? -rounded : rounded;
  if (result > std::numeric_limits<std::int32_t>::max() ||
      result < std::numeric_limits<std::int32_t>::min()) {
    return -1;
  }
  return static_cast<std::int32_t>(result);
}

}  // namespace dravella::dialogs
