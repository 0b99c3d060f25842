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
  const TLayoutSearch& Search;  // what it knows of the map
  size_t OwnObservers = 0;  // the scenario's own objects, listed before the added ones
  size_t OwnBoats = 0;
  const std::string& Out;  // where the advice is written
  const std::string& Map;  // as given; empty: the program's own
  bool OutWritten = true;  // false: Out could not be written
};

// What optimize writes to --out: the advice when the check found it better
// (without the objects that make no measurable difference, when pruned),
// else the better of the naive and the searched layout by the objective's
// point estimate on the held-out seeds; the search's best when the check
// did not run in full. `what` names it.
const TScenarioSetup& WrittenLayout(const TOptimisation& o, TObjective objective, std::string* what = nullptr);

// The whole report; empty when no layout was evaluated.
std::string OptimisationReport(const TOptimisation& o, const TReportContext& context);

// The layout as a scenario file.
std::string ScenarioText(const TScenarioSetup& layout);

// "1:17": minutes and seconds.
std::string Clock(double seconds);

}  // namespace wendo_lab
