// Sightings: the observation rule and the boats' sighting rule, which is the
// same rule seen from a boat.
#include "rules.h"

namespace wymianadanych {

std::string SightingMessage(const TWorld& w, const char* watcher, const TObiekt& at, const TRekin& s) {
  return w.TimePrefix() + ": " + watcher + " na (" + IntToStr(at.X) + "," + IntToStr(at.Y) + ") " +
         (watcher[0] == 'o' ? "dostrzegł" : "dostrzegła") + " rekina na (" + IntToStr(s.X) + "," +
         IntToStr(s.Y) + ").";
}

namespace {

// Every live shark within `range` (inclusive) raises the alarm and is
// stamped as seen; one not seen in this step or the one before is logged.
void LookOut(TWorld& w, const TObiekt& at, int32_t range, const char* watcher) {
  const size_t n = w.Sharks.size();
  for (size_t i = 0; i < n; ++i) {
    TRekin& s = w.Sharks[i];
    if (s.Dead) continue;
    const double dist = Distance(static_cast<int64_t>(s.X) - at.X, static_cast<int64_t>(s.Y) - at.Y);
    if (!(static_cast<double>(range) >= dist)) continue;
    w.SharkAlarm = true;
    if (!RecentlySeen(w, s)) w.AppendEvent(SightingMessage(w, watcher, at, s));
    s.LastSeenStep = w.StepCounter;
  }
}

}  // namespace

void ObserverRule(TWorld& w, const TObserwator& o) { LookOut(w, o, o.Range, "obserwator"); }

void BoatSightingRule(TWorld& w, const TLodz& b) { LookOut(w, b, b.Range, "łódź"); }

}  // namespace wymianadanych
