// The part of the world a scenario file holds: the ten parameters, the
// observation points and the boats, kept apart from the world so a file
// can be read completely before anything in the world changes.
#pragma once

#include <cstdint>
#include <vector>

#include "parameters.h"
#include "wymianadanych.h"

namespace wymianadanych {

struct TScenario {
  TParameterValues Parameters{};
  std::vector<TObserwator> Observers;
  std::vector<TLodz> Boats;
};

// A copy of the world's scenario part. Takes the world's lock for the lists.
TScenario TakeScenario(const TWorld& world);

// Replaces the world's parameters, observation points and boats with those
// of `scenario`, under the world's lock; nothing else in the world changes.
void PutScenario(TWorld& world, TScenario&& scenario);

}  // namespace wymianadanych
