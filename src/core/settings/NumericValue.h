// NumericValue with overflow reported: nullopt when the number is too large for a double,
// so that the caller leaves its field as it was.
#pragma once

#include <optional>
#include <string>

namespace kadeno {

std::optional<double> CheckedNumericValue(const std::string& text);

}  // namespace kadeno
