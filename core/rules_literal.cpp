// The rules with the literal walks: every list from its first element to
// its last, exactly as the rules are stated. This is the reference that the
// indexed step is checked against.
#include "rules_literal.h"

namespace wymianadanych {

const TRekin* TLiteralFinder::FirstLiveSharkWithin(int64_t x, int64_t y, int32_t range) const {
  for (const TRekin& s : w_.Sharks)
    if (!s.Dead && Distance(x - s.X, y - s.Y) <= range) return &s;
  return nullptr;
}

int64_t TLiteralFinder::NearestLivePerson(int64_t x, int64_t y, int32_t range) const {
  double best = range;
  int64_t found = -1;
  for (size_t i = 0; i < w_.People.size(); ++i) {
    const TCzlowiek& p = w_.People[i];
    if (p.Dead) continue;
    const double dist = Distance(x - p.X, y - p.Y);
    if (dist < best) {
      best = dist;
      found = static_cast<int64_t>(i);
    }
  }
  return found;
}

int64_t TLiteralFinder::NearestRecentShark(int64_t x, int64_t y) const {
  double best = 1e100;
  int64_t found = -1;
  for (size_t i = 0; i < w_.Sharks.size(); ++i) {
    const TRekin& s = w_.Sharks[i];
    if (s.Dead || !RecentlySeen(w_, s)) continue;
    const double dist = Distance(x - s.X, y - s.Y);
    if (dist >= best) continue;
    best = dist;
    found = static_cast<int64_t>(i);
  }
  return found;
}

void PersonRule(TWorld& w, TCzlowiek& p) {
  TLiteralFinder find{w};
  rules::Person(w, p, StepLength(w.PersonSpeed, w.SimStepMs), find);
}

void SharkRule(TWorld& w, TRekin& s) {
  TLiteralFinder find{w};
  rules::Shark(w, s, StepLength(w.SharkSpeed, w.SimStepMs), find);
}

void ObserverRule(TWorld& w, const TObserwator& o) {
  TLiteralFinder find{w};
  rules::LookOut(w, o, o.Range, TWatcher::ObservationPoint, find);
}

void BoatSightingRule(TWorld& w, const TLodz& b) {
  TLiteralFinder find{w};
  rules::LookOut(w, b, b.Range, TWatcher::Boat, find);
}

void BoatMovementRule(TWorld& w, TLodz& b) {
  TLiteralFinder find{w};
  rules::BoatMovement(w, b, find);
}

}  // namespace wymianadanych
