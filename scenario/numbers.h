// Conversion of typed and stored text to a signed 32-bit integer.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace wymianadanych {

// Optional leading blanks, an optional "+" or "-", then decimal digits, or
// hexadecimal digits after a "$" or "0x" prefix; nothing may follow, and
// the value must fit in 32 signed bits. The empty text is not a number.
std::optional<int32_t> ParseInt32(std::string_view text);

}  // namespace wymianadanych
