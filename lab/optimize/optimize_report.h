// What wendo-lab optimize prints: the search, the held-out check with its
// verdict, and the advised layout, in words that claim no more than the
// check shows.
#pragma once

#include <cstddef>
#include <string>

#include "layout_search.h"

namespace wendo_lab {

// What the report says beside the optimisation's own results.
struct TReportContext {
  const TSearchSettings& Settings;
  size_t OwnObservers = 0;  // the scenario's own objects, listed before the added ones
  size_t OwnBoats = 0;
  const std::string& Out;  // where the advice is written
  const std::string& Map;  // as given; empty: the program's own
};

// The whole report; empty when no layout was evaluated.
std::string OptimisationReport(const TOptimisation& o, const TReportContext& context);

// The layout as a scenario file.
std::string ScenarioText(const TScenarioSetup& layout);

// "1:17": minutes and seconds.
std::string Clock(double seconds);

}  // namespace wendo_lab
