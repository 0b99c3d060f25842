// The scenario file's layout: the ten parameters one a line, the count of
// observation points and a line "X Y Range" for each, then the count of
// boats and a line "HomeX HomeY PatrolX PatrolY Speed Range" for each.
// Every line ends with CR LF, the last one too.
#pragma once

#include <cstdint>
#include <functional>
#include <string_view>

#include "scenario_content.h"
#include "token_reader.h"

namespace wymianadanych {

// Counts above this end a read with "Out of memory" before anything is made.
constexpr int32_t MaxObjectCount = 1000000;

// Hands the file's text to `put` a line at a time.
void WriteScenario(const TScenario& scenario, const std::function<void(std::string_view)>& put);

// Reads a whole file into `scenario`, which should be fresh. What the file
// lacks reads as 0; a boat starts at its home, heading out. Throws
// TScenarioError: "Invalid numeric input", "Range check error" for a
// negative count, "Out of memory" for a count above MaxObjectCount.
void ReadScenario(TTokenReader& reader, TScenario& scenario);

}  // namespace wymianadanych
