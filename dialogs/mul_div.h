// MulDiv: number * numerator / denominator through a 64-bit product, rounded
// to the nearest integer (halves away from zero); -1 when the denominator is 0
// or the result does not fit into 32 bits, as the Windows function answers.
#pragma once

#include <cstdint>

namespace dravella::dialogs {

std::int32_t MulDiv(std::int32_t number, std::int32_t numerator, std::int32_t denominator);

}  // namespace dravella::dialogs
