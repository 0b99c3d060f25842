// The option values of a sweep written as text: seed lists, parameter
// values, the shard, durations. Every malformed text is a TBadInput that
// names the option and shows what was wrong.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "parameters.h"

namespace wendo_lab {

// A list, or a range, is refused beyond this many values.
constexpr int64_t MaxListLength = 10'000'000;

// "1-30", "7" or "1,2,5-9": seeds from 0 to 4294967295, ranges inclusive
// and rising, in the order written.
std::vector<uint32_t> ParseSeeds(std::string_view text);

// One --set: "NAME=V1,V2,..." or "NAME=FROM:TO:STEP" (TO included when the
// steps land on it), for a parameter named as in the code.
struct TAxis {
  int Parameter = 0;  // index in ParameterTable
  std::vector<int32_t> Values;
};
TAxis ParseSetting(std::string_view text);

// --shard K/N with 1 <= K <= N.
struct TShard {
  int64_t Index = 1;
  int64_t Count = 1;
};
TShard ParseShard(std::string_view text);

// A positive number of seconds, to the millisecond, that the simulated
// clock (32-bit milliseconds) can hold; `option` names it in messages.
int32_t ParseSecondsAsMs(std::string_view text, std::string_view option);

// A positive whole number of at most `max` (the number of jobs).
int ParseCount(std::string_view text, std::string_view option, int max);

// A whole number from `min` to `max`.
int64_t ParseWholeNumber(std::string_view text, std::string_view option, int64_t min, int64_t max);

}  // namespace wendo_lab
