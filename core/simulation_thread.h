// The worker that drives a run: brings people and sharks in on their
// periods and takes the simulation steps, sleeping until the next is due.
#pragma once

#include "simulation.h"
#include "worker_loop.h"

namespace wymianadanych {

class TSimulationThread {
 public:
  // Created suspended: nothing happens until Resume.
  explicit TSimulationThread(TWorld& world, TTickSource& ticks = TSystemTicks::Instance());

  // Set by the main window on every start and resume, while suspended.
  uint32_t& LastStepTick = ticks_.LastStepTick;
  uint32_t& LastSharkTick = ticks_.LastSharkTick;
  uint32_t& LastPersonTick = ticks_.LastPersonTick;
  TSimulationTicks& Ticks() { return ticks_; }
  TTickSource& TickSource() { return loop_.Ticks(); }

  void Resume() { loop_.Resume(); }
  // Takes effect between two iterations, never inside a step or an arrival.
  void Suspend() { loop_.Suspend(); }
  bool Suspended() const { return loop_.Suspended(); }
  // Ends the loop and waits for it; a suspended thread needs no Resume.
  void Terminate() { loop_.Terminate(); }
  // A period has changed: look again at once.
  void Wake() { loop_.Wake(); }

 private:
  TWorld& world_;
  TSimulationTicks ticks_;
  TWorkerLoop loop_;  // last: it stops before the members it uses go
};

}  // namespace wymianadanych
