#include "value_lists.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string>

#include "bad_input.h"

namespace wendo_lab {

namespace {

[[noreturn]] void Bad(std::string_view option, std::string_view text, std::string_view why) {
  throw TBadInput(std::string(option) + " \"" + std::string(text) + "\": " + std::string(why));
}

template <class T>
bool ParseWhole(std::string_view text, T& value) {
  if (text.empty() || text.front() == '+') return false;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  return ec == std::errc() && end == text.data() + text.size();
}

std::vector<std::string_view> Split(std::string_view text, char separator) {
  std::vector<std::string_view> parts;
  for (;;) {
    const size_t at = text.find(separator);
    parts.push_back(text.substr(0, at));
    if (at == std::string_view::npos) return parts;
    text.remove_prefix(at + 1);
  }
}

void CheckLength(size_t length, std::string_view option, std::string_view text) {
  if (static_cast<int64_t>(length) > MaxListLength)
    Bad(option, text, "more than " + std::to_string(MaxListLength) + " values");
}

}  // namespace

std::vector<uint32_t> ParseSeeds(std::string_view text) {
  constexpr std::string_view option = "--seeds";
  std::vector<uint32_t> seeds;
  for (std::string_view item : Split(text, ',')) {
    const size_t dash = item.find('-');
    uint32_t from = 0, to = 0;
    const bool ok = dash == std::string_view::npos
                        ? ParseWhole(item, from) && (to = from, true)
                        : ParseWhole(item.substr(0, dash), from) && ParseWhole(item.substr(dash + 1), to);
    if (!ok) Bad(option, text, "expected seeds such as 1-30 or 1,2,5-9 (whole numbers from 0 to 4294967295)");
    if (to < from) Bad(option, text, "the range " + std::string(item) + " is empty");
    CheckLength(seeds.size() + (to - from) + 1, option, text);
    for (uint64_t s = from; s <= to; ++s) seeds.push_back(static_cast<uint32_t>(s));
  }
  return seeds;
}

TAxis ParseSetting(std::string_view text) {
  constexpr std::string_view option = "--set";
  const size_t equals = text.find('=');
  if (equals == std::string_view::npos) Bad(option, text, "expected NAME=V1,V2,... or NAME=FROM:TO:STEP");
  const std::string_view name = text.substr(0, equals), values = text.substr(equals + 1);
  TAxis axis;
  const wymianadanych::TParameter* parameter = wymianadanych::FindParameter(name);
  if (!parameter)
    Bad(option, text,
        "no parameter is called \"" + std::string(name) + "\"; the parameters are " + wymianadanych::ParameterNames());
  axis.Parameter = static_cast<int>(parameter - wymianadanych::ParameterTable.data());

  const std::vector<std::string_view> range = Split(values, ':');
  if (range.size() == 3) {
    int32_t from = 0, to = 0, step = 0;
    if (!ParseWhole(range[0], from) || !ParseWhole(range[1], to) || !ParseWhole(range[2], step))
      Bad(option, text, "FROM:TO:STEP takes three whole numbers");
    if (step == 0) Bad(option, text, "the step is 0");
    if (step > 0 ? to < from : to > from) Bad(option, text, "the range is empty");
    const int64_t count = (static_cast<int64_t>(to) - from) / step + 1;
    CheckLength(static_cast<size_t>(count), option, text);
    for (int64_t i = 0; i < count; ++i) axis.Values.push_back(static_cast<int32_t>(from + i * step));
    return axis;
  }
  if (range.size() != 1) Bad(option, text, "expected NAME=V1,V2,... or NAME=FROM:TO:STEP");
  for (std::string_view item : Split(values, ',')) {
    int32_t value = 0;
    if (!ParseWhole(item, value))
      Bad(option, text, "\"" + std::string(item) + "\" is not a whole number from -2147483648 to 2147483647");
    axis.Values.push_back(value);
  }
  CheckLength(axis.Values.size(), option, text);
  return axis;
}

TShard ParseShard(std::string_view text) {
  constexpr std::string_view option = "--shard";
  const size_t slash = text.find('/');
  TShard shard;
  if (slash == std::string_view::npos || !ParseWhole(text.substr(0, slash), shard.Index) ||
      !ParseWhole(text.substr(slash + 1), shard.Count))
    Bad(option, text, "expected K/N, such as 3/8");
  if (shard.Count < 1 || shard.Index < 1 || shard.Index > shard.Count)
    Bad(option, text, "K must be from 1 to N, and N at least 1");
  return shard;
}

int32_t ParseSecondsAsMs(std::string_view text, std::string_view option) {
  double seconds = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), seconds, std::chars_format::fixed);
  const bool number = !text.empty() && ec == std::errc() && end == text.data() + text.size();
  double general = 0;
  const auto [generalEnd, generalEc] =
      std::from_chars(text.data(), text.data() + text.size(), general, std::chars_format::general);
  if (!number && !text.empty() && generalEnd == text.data() + text.size() && generalEc != std::errc::invalid_argument)
    Bad(option, text, "not a whole number of seconds written out in digits (an exponent is not read); write "
                         "them out, such as 1000, or a fraction such as 0.25");
  const double ms = std::round(seconds * 1000.0);
  if (!number || !std::isfinite(seconds) || ms < 1)
    Bad(option, text, "expected a positive number of seconds (at least 0.001)");
  if (ms > std::numeric_limits<int32_t>::max())
    Bad(option, text, "more than 2147483.647 seconds, the longest time the simulated clock holds");
  return static_cast<int32_t>(ms);
}

int ParseCount(std::string_view text, std::string_view option, int max) {
  return static_cast<int>(ParseWholeNumber(text, option, 1, max));
}

int64_t ParseWholeNumber(std::string_view text, std::string_view option, int64_t min, int64_t max) {
  int64_t value = 0;
  if (!ParseWhole(text, value) || value < min || value > max)
    Bad(option, text, "expected a whole number from " + std::to_string(min) + " to " + std::to_string(max));
  return value;
}

}  // namespace wendo_lab
