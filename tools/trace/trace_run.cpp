#include "trace_run.h"

#include "moment_counts.h"
#include "simulation.h"

namespace wendo_trace {

using namespace wymianadanych;

void WriteState(const TWorld& w, std::ostream& out) {
  const TMomentCounts c = ReadMomentCounts(w);
  out << "T " << c.Steps << ' ' << c.ElapsedMs << ' ' << (c.Alarm ? 1 : 0) << ' ' << c.People << ' ' << c.DeadPeople
      << ' ' << c.Sharks << ' ' << c.DeadSharks << '\n';
  for (const TCzlowiek& p : w.People) out << "P " << p.X << ' ' << p.Y << ' ' << (p.Dead ? 1 : 0) << '\n';
  for (const TRekin& s : w.Sharks)
    out << "S " << s.X << ' ' << s.Y << ' ' << (s.Dead ? 1 : 0) << ' ' << s.LastSeenStep << '\n';
  for (const TLodz& b : w.Boats) out << "B " << b.X << ' ' << b.Y << ' ' << (b.Outbound ? 1 : 0) << '\n';
}

void RunTrace(TWorld& w, uint32_t seed, int64_t iterations, const TTickStep& tickStep, uint32_t startTick,
              std::ostream& out) {
  w.DecimalSeparator.assign(1, '.');  // GCC 12 warns falsely when a literal is assigned
  w.Random.Seed = seed;
  TSimulationTicks ticks;
  StartRun(w, ticks, startTick, true);
  uint32_t now = startTick;
  for (int64_t i = 0; i < iterations; ++i) {
    now += tickStep(i);
    const unsigned done = RunIteration(w, ticks, now);
    if (done & StepTaken) WriteState(w, out);
    for (const std::string& message : w.DrainEvents()) out << "E " << message << '\n';
  }
}

}  // namespace wendo_trace
