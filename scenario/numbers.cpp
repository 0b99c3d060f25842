#include "numbers.h"

namespace wymianadanych {

namespace {
int DigitValue(char c, int base) {
  int v = -1;
  if (c >= '0' && c <= '9') v = c - '0';
  else if (c >= 'a' && c <= 'f') v = c - 'a' + 10;
  else if (c >= 'A' && c <= 'F') v = c - 'A' + 10;
  return v < base ? v : -1;
}
}  // namespace

std::optional<int32_t> ParseInt32(std::string_view s) {
  size_t i = 0;
  while (i < s.size() && s[i] == ' ') ++i;
  bool negative = false;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
  int base = 10;
  if (i < s.size() && s[i] == '$') {
    base = 16;
    ++i;
  } else if (i + 1 < s.size() && s[i] == '0' && (s[i + 1] == 'x' || s[i + 1] == 'X')) {
    base = 16;
    i += 2;
  }
  if (i == s.size()) return std::nullopt;
  const int64_t limit = negative ? int64_t{1} << 31 : (int64_t{1} << 31) - 1;
  int64_t v = 0;
  for (; i < s.size(); ++i) {
    const int digit = DigitValue(s[i], base);
    if (digit < 0) return std::nullopt;
    v = v * base + digit;
    if (v > limit) return std::nullopt;
  }
  return static_cast<int32_t>(negative ? -v : v);
}

}  // namespace wymianadanych
