// What the "Doradca" window asks the lab's layout search for, and what it
// makes of the answer: the effort in words, the objects added to the
// scenario, how they go into the world, and the held-out check, the
// verdict and the warnings in Polish.
#pragma once

#include <QLocale>
#include <QString>
#include <cstddef>

#include "how_many.h"
#include "layout_overlay.h"
#include "layout_search.h"

// The two efforts a user chooses between; each sets the search's budget,
// seeds and held-out check (timed on a two-core machine).
enum class TAdviceEffort { Quick, Thorough };
wendo_lab::TSearchSettings AdviceSettings(TAdviceEffort effort, int jobs);

// The objects a layout adds after the scenario's own `ownObservers` and
// `ownBoats`.
TLayoutObjects AddedObjects(const wendo_lab::TScenarioSetup& layout, size_t ownObservers, size_t ownBoats);

// Appends the objects to the world as the objects dialog does: a point at
// its place with its range; a boat at its home, outbound, with its patrol
// point, speed and range.
void AddToWorld(wymianadanych::TWorld& world, const TLayoutObjects& objects);

// The advice is advice only when the held-out check found it clearly
// better than the naive layout.
bool IsAdvice(const wendo_lab::TOptimisation& o);

// One Polish sentence on the held-out check in terms of `objective`: the
// searched layout against the naive one (seed by seed), and against the
// scenario as given when the check ran it.
QString VerdictSentence(const wendo_lab::TLayoutCheck& check, wendo_lab::TObjective objective);

// Everything the window says of an optimisation: what the layout it
// offers is (advice, not advice, unchecked), its objects, the held-out
// comparison of the layouts with their intervals, the paired differences,
// the verdict, each added object's worth and the warnings.
struct TAdviceContext {
  const wendo_lab::TSearchSettings& Settings;
  const wendo_lab::TLayoutSearch& Search;
  size_t OwnObservers = 0, OwnBoats = 0;
};
QString AdviceReport(const wendo_lab::TOptimisation& o, const TAdviceContext& context);

// The notes beside a how-many table: how the work was split, whether it
// ran in full, and the combinations where no layout kept the swimming.
QString HowManyNotes(const wendo_lab::THowMany& table, const wendo_lab::TSearchSettings& settings);

// A score of the search in words: "2,31 zjedzonych na 1000 godzin pływania".
QString ScoreWords(double score, wendo_lab::TObjective objective);

// A number with the Polish decimal comma and grouped thousands.
QString PolishNumber(double v, int decimals);
