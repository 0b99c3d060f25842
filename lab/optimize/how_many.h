// How many posts and boats: the best layout for every combination of
// counts within ranges, each checked on the same held-out seeds, against
// eaten, swim-hours, open share and risk, and what one more post or boat
// buys, the question a planner brings to a budget meeting.
//
// The budget is split evenly over the combinations that add an object;
// the combination of none is the scenario as given, run once in the
// check (on the first combination's held-out seeds, which every
// combination shares, since they follow from the search seed alone).
#pragma once

#include <QImage>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "layout_search.h"

namespace wendo_lab {

// "3" or "0-3": counts from `From` to `To`, both included.
struct TCountRange {
  int From = 0;
  int To = 0;
  bool IsRange() const { return From != To; }
};
// Throws TBadInput naming `option` for a malformed or reversed range, or a
// count above `most`.
TCountRange ParseCountRange(const std::string& text, const std::string& option, int most);

struct THowManyRow {
  int Observers = 0, Boats = 0;
  TLayoutOutcome Outcome;  // of the best layout found, on the held-out seeds
  // The objective's change from one post fewer, or one boat fewer, the rest
  // the same, seed by seed: below 0, the extra object helps.
  std::optional<TStatistic> OneMorePost, OneMoreBoat;
  bool NoneKeptSwimming = false;  // every layout of the search was rejected for too little swimming
};

struct THowMany {
  std::vector<THowManyRow> Rows;  // by observers, then boats
  int Combinations = 0;           // searched: those that add an object
  int64_t BudgetEach = 0;
  std::vector<uint32_t> HeldOut;
  bool Done = false;  // every combination searched and checked
  double Seconds = 0;
};

// The combinations that add an object, and the budget each gets.
int SearchedCombinations(TCountRange observers, TCountRange boats);

struct THowManyProgress {
  int Combination = 0;  // from 1
  int Combinations = 0;
  TSearchProgress Search;
};

// Throws TBadInput as TLayoutSearch does.
THowMany RunHowMany(const QImage& map, const TScenarioSetup& base, TPlacementRequest placement,
                    TCountRange observers, TCountRange boats, const TSearchSettings& settings,
                    const std::function<void(const THowManyProgress&)>& progress);

// The table for the terminal, with how the budget was split.
std::string HowManyText(const THowMany& table, TObjective objective);
// One record per combination.
std::string HowManyCsv(const THowMany& table);

}  // namespace wendo_lab
