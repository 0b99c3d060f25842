// The behaviour rules and the order of a step, written once against a
// neighbour finder. Two finders exist: the literal one walks the lists from
// the first element to the last (the rules as stated), the indexed one asks
// the spatial index. Both must give the same answers, ties included, so a
// step is the same either way.
#pragma once

#include <array>
#include <concepts>
#include <cstdlib>
#include <vector>

#include "rules.h"

namespace wymianadanych {

// The phases of a step, in order, at whose start a finder may bring what it
// has indexed up to date: each phase starts with the positions of the
// phase before. What the indexed finder prepares (indexed_finder.cpp):
// - BoatsSight, the boats look out: the terrain, the observation points and
//   the live sharks, which the boats' moves and kills then use too;
// - BoatsMove, the boats chase and kill: the recently seen sharks;
// - Sharks, the sharks hunt and eat: the live people;
// - People, the people flee: the live sharks where the sharks' moves left
//   them, which the observation points use too;
// - Observers, the points look out: nothing more.
// Each list is walked instead of gridded when it is short.
enum class TStepPhase { BoatsSight, BoatsMove, Sharks, People, Observers };

// What the rules ask about the neighbourhood of a point. Every answer that
// lists objects lists them in list order; "within" counts the distance of
// Distance(), as each question says.
template <class F>
concept NeighbourFinder = requires(F& find, int64_t x, int64_t y, int32_t range, const TObiekt& at,
                                   std::vector<TCzlowiek>& people, std::vector<TRekin>& sharks, TStepPhase phase) {
  // A water cell; false off the grid.
  { find.Water(x, y) } -> std::same_as<bool>;
  // The first live shark in list order with dist <= range, or null.
  { find.FirstLiveSharkWithin(x, y, range) } -> std::same_as<const TRekin*>;
  // Every observation point with dist < 10.
  find.ObserversWithin10(x, y, [](const TObserwator&) {});
  // The index of the nearest live person with dist < range, the earliest
  // on a tie, or -1.
  { find.NearestLivePerson(x, y, range) } -> std::same_as<int64_t>;
  // Every live person, or shark, with dist < 15.
  find.LiveWithin15(people, x, y, [](TCzlowiek&) {});
  find.LiveWithin15(sharks, x, y, [](TRekin&) {});
  // Every live shark with dist <= range from `at`.
  find.LiveSharksSeenFrom(at, range, [](TRekin&) {});
  // The index of the nearest recently seen live shark, the earliest on a
  // tie, or -1.
  { find.NearestRecentShark(x, y) } -> std::same_as<int64_t>;
  // A phase of the step begins.
  find.Entering(phase);
};

}  // namespace wymianadanych

namespace wymianadanych::rules {

// Adds or subtracts Random(d + 1), as a coin toss decides.
inline int64_t Wander(TWorld& w, int64_t v, int32_t d) {
  if (w.Random(2) == 0) return v + w.Random(d + 1);
  return v - w.Random(d + 1);
}
// The same from the two seeds of those draws (TRandom::NextSeeds).
inline int64_t Wander(uint32_t coin, uint32_t step, int64_t v, int32_t d) {
  const int64_t r = TRandom::Scaled(step, d + 1);
  return TRandom::Scaled(coin, 2) == 0 ? v + r : v - r;
}

// One step of a person whose step length is `d`; returns whether the
// person swims where it ends the step. Inlined into the step's loop over
// the people, so that what the finder reads for every person is fetched
// once a step, not once a person.
template <NeighbourFinder Finder>
[[gnu::always_inline]] inline bool Person(TWorld& w, TCzlowiek& p, int32_t d, Finder& find) {
  if (p.Dead) return false;
  const int64_t x = p.X, y = p.Y;
  int64_t nx = x, ny = y;

  // Walk to the water, swim about, or head ashore under the alarm.
  const bool water = find.Water(x, y);
  if (water && w.SharkAlarm) {
    nx = x + d;
  } else if (water) {
    // A swimmer always takes five draws: the wander in x and in y, then a
    // drift toward the column X = 200, from the person's own X. Taken at
    // once, they do not wait on one another.
    const std::array<uint32_t, 5> r = w.Random.NextSeeds<5>();
    nx = Wander(r[0], r[1], x, d);
    ny = Wander(r[2], r[3], y, d);
    if (x > 200)
      nx -= TRandom::Scaled(r[4], static_cast<int32_t>(RoundQuotient(x - 200, 100)) + 1);
    else
      nx += TRandom::Scaled(r[4], static_cast<int32_t>(RoundQuotient(200 - x, 100)) + 1);
  } else if (!w.SharkAlarm) {
    nx = x - d;
  }

  // The first live shark within reach, in list order, sends the person away.
  if (const TRekin* s = find.FirstLiveSharkWithin(x, y, w.PersonRange)) {
    const double dist = Distance(x - s->X, y - s->Y);
    if (dist != 0) {
      nx = x + RoundOver((x - s->X) * d, dist);
      ny = y + RoundOver((y - s->Y) * d, dist);
    } else {
      nx = x;
      ny = y;
    }
  }

  // At an observation point a person only sidesteps; every point within
  // reach draws anew, so the last one decides.
  find.ObserversWithin10(x, y, [&](const TObserwator&) {
    nx = x;
    ny = Wander(w, y, d);
  });

  p.X = ClampX(nx);
  p.Y = ClampY(ny);
  return p.X == x && p.Y == y ? water : find.Water(p.X, p.Y);
}

// The end of a shark's or a boat's move: the target is brought onto the
// grid and entered only when it is water; otherwise the object stays.
template <NeighbourFinder Finder>
void MoveOntoWater(TObiekt& o, int64_t nx, int64_t ny, Finder& find) {
  nx = ClampX(nx);
  ny = ClampY(ny);
  if (!find.Water(nx, ny)) {
    nx = o.X;
    ny = o.Y;
  }
  o.X = ClampX(nx);
  o.Y = ClampY(ny);
}

// One step of a shark whose step length is `d`.
template <NeighbourFinder Finder>
void Shark(TWorld& w, TRekin& s, int32_t d, Finder& find) {
  if (s.Dead) return;
  const int64_t x = s.X, y = s.Y;

  // The wander is drawn in every step, even when the hunt replaces it.
  int64_t nx = Wander(w, x, d);
  int64_t ny = Wander(w, y, d);

  // A step toward the nearest live person strictly within range.
  const int64_t prey = find.NearestLivePerson(x, y, w.SharkRange);
  if (prey >= 0) {
    const TCzlowiek& p = w.People[static_cast<size_t>(prey)];
    const TPosition hunt = StepTowardPoint(x, y, p.X, p.Y, d);
    nx = hunt.X;
    ny = hunt.Y;
  }

  MoveOntoWater(s, nx, ny, find);

  // Every live person within 15 dm of where the shark came to rest is eaten.
  find.LiveWithin15(w.People, s.X, s.Y, [&](TCzlowiek& p) {
    p.Dead = true;
    w.PersonCount -= 1;
    w.DeadPeople += 1;
    w.Announce(": rekina na ", s.X, s.Y, " zjadł człowieka z pozycji ", p.X, p.Y);
  });
}

// Every live shark within `range` (inclusive) raises the alarm and is
// stamped as seen; one not seen in this step or the one before is logged
// and counted as the watcher's sighting.
template <NeighbourFinder Finder>
void LookOut(TWorld& w, const TObiekt& at, int32_t range, TWatcher watcher, Finder& find) {
  find.LiveSharksSeenFrom(at, range, [&](TRekin& s) {
    w.SharkAlarm = true;
    if (!RecentlySeen(w, s)) {
      AnnounceSighting(w, watcher, at, s);
      ++(watcher == TWatcher::Boat ? w.BoatSightings : w.ObserverSightings);
    }
    s.LastSeenStep = w.StepCounter;
  });
}

template <NeighbourFinder Finder>
void BoatMovement(TWorld& w, TLodz& b, Finder& find) {
  const int32_t d = StepLength(b.Speed, w.SimStepMs);
  const int64_t x = b.X, y = b.Y;

  // A step toward the nearest recently seen live shark, wherever it is;
  // without one, toward the destination. Near either the boat lands beyond.
  const int64_t tx = b.Outbound ? b.PatrolX : b.HomeX;
  const int64_t ty = b.Outbound ? b.PatrolY : b.HomeY;
  const int64_t chased = find.NearestRecentShark(x, y);
  const TRekin* chase = chased >= 0 ? &w.Sharks[static_cast<size_t>(chased)] : nullptr;
  const TPosition next = chase ? StepTowardPoint(x, y, chase->X, chase->Y, d) : StepTowardPoint(x, y, tx, ty, d);

  MoveOntoWater(b, next.X, next.Y, find);

  // Every live shark less than 15 dm from the new position is killed.
  find.LiveWithin15(w.Sharks, b.X, b.Y, [&](TRekin& s) {
    s.Dead = true;
    w.SharkCount -= 1;
    w.DeadSharks += 1;
    w.Announce(": łódź na ", b.X, b.Y, " zabiła rekina na pozycji ", s.X, s.Y);
  });

  // Turn around at either end of the beat; the patrol point is tested last.
  if (std::llabs(b.X - static_cast<int64_t>(b.HomeX)) < 10 && std::llabs(b.Y - static_cast<int64_t>(b.HomeY)) < 10)
    b.Outbound = true;
  if (std::llabs(b.X - static_cast<int64_t>(b.PatrolX)) < 10 && std::llabs(b.Y - static_cast<int64_t>(b.PatrolY)) < 10)
    b.Outbound = false;
}

// One step, once the clock has advanced: every boat looks out, every boat
// moves, every shark, every person, the alarm is cleared, and every
// observation point looks out. The rules skip dead objects themselves.
template <NeighbourFinder Finder>
void Step(TWorld& w, Finder& find) {
  find.Entering(TStepPhase::BoatsSight);
  for (const TLodz& b : w.Boats) LookOut(w, b, b.Range, TWatcher::Boat, find);
  find.Entering(TStepPhase::BoatsMove);
  for (TLodz& b : w.Boats) BoatMovement(w, b, find);
  find.Entering(TStepPhase::Sharks);
  const int32_t sharkStep = StepLength(w.SharkSpeed, w.SimStepMs);
  for (TRekin& s : w.Sharks) Shark(w, s, sharkStep, find);
  find.Entering(TStepPhase::People);
  const int32_t personStep = StepLength(w.PersonSpeed, w.SimStepMs);
  w.PeopleWarned = w.SharkAlarm;
  int32_t swimmers = 0;
  for (TCzlowiek& p : w.People) swimmers += Person(w, p, personStep, find);
  w.StepSwimmers = {swimmers, w.StepCounter, w.People.size(), w.TerrainGrid.Version(), true};
  w.SharkAlarm = false;
  find.Entering(TStepPhase::Observers);
  for (const TObserwator& o : w.Observers) LookOut(w, o, o.Range, TWatcher::ObservationPoint, find);
}

}  // namespace wymianadanych::rules
