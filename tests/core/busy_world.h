// The busy world the tests under load share: a step every `stepMs` and
// people and sharks arriving at every step the arrival rule allows, up to
// the maxima given (0 keeps the world's own).
#pragma once

#include "wymianadanych.h"

namespace wendo_test {

struct TBusyWorld {
  int32_t StepMs = 1;
  int32_t PersonMax = 0;
  int32_t SharkMax = 0;
};

inline void MakeBusy(wymianadanych::TWorld& w, const TBusyWorld& busy = {}) {
  w.SimStepMs = busy.StepMs;
  w.PersonArrivalS = 0;
  w.SharkArrivalS = 0;
  if (busy.PersonMax > 0) w.PersonMax = busy.PersonMax;
  if (busy.SharkMax > 0) w.SharkMax = busy.SharkMax;
}

}  // namespace wendo_test
