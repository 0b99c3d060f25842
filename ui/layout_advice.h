// What the "Doradca" window asks the lab's layout search for, and what it
// makes of the answer: the effort in words, the objects added to the
// scenario, how they go into the world, and the verdict in Polish.
#pragma once

#include <QString>
#include <cstddef>

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

// One Polish sentence on the held-out comparison of the advised layout
// with the naive one (people eaten, advised − naive, seed by seed).
QString VerdictSentence(const wendo_lab::TStatistic& difference);
