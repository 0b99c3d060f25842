#include "simulation_thread.h"

namespace wymianadanych {

TSimulationThread::TSimulationThread(TWorld& world, TTickSource& ticks)
    : world_(world), loop_(ticks, [this](uint32_t now) {
        RunIteration(world_, ticks_, now);
        return MsUntilDue(world_, ticks_, now);
      }) {}

}  // namespace wymianadanych
