#include "layout_advice.h"

#include <QLocale>
#include <mutex>

using namespace wendo_lab;

TSearchSettings AdviceSettings(TAdviceEffort effort, int jobs) {
  TSearchSettings s;
  s.Jobs = jobs;
  // A default hour-long run takes about 20 ms on one core here.
  if (effort == TAdviceEffort::Quick) {
    s.SeedsPerEvaluation = 8;
    s.Budget = 2000;
    s.HeldOutSeeds = 200;
  } else {
    s.SeedsPerEvaluation = 16;
    s.Budget = 10000;
    s.HeldOutSeeds = 1000;
  }
  return s;
}

TLayoutObjects AddedObjects(const TScenarioSetup& layout, size_t ownObservers, size_t ownBoats) {
  TLayoutObjects added;
  const auto& observers = layout.Scenario.Observers;
  const auto& boats = layout.Scenario.Boats;
  if (observers.size() > ownObservers) added.Observers.assign(observers.begin() + ownObservers, observers.end());
  if (boats.size() > ownBoats) added.Boats.assign(boats.begin() + ownBoats, boats.end());
  return added;
}

void AddToWorld(wymianadanych::TWorld& world, const TLayoutObjects& objects) {
  std::lock_guard guard(world.Lock);
  for (const wymianadanych::TObserwator& o : objects.Observers) {
    wymianadanych::TObserwator point;
    point.X = o.X;
    point.Y = o.Y;
    point.Range = o.Range;
    world.Observers.push_back(point);
  }
  for (const wymianadanych::TLodz& b : objects.Boats) {
    wymianadanych::TLodz boat;
    boat.X = boat.HomeX = b.HomeX;
    boat.Y = boat.HomeY = b.HomeY;
    boat.Outbound = true;
    boat.PatrolX = b.PatrolX;
    boat.PatrolY = b.PatrolY;
    boat.Speed = b.Speed;
    boat.Range = b.Range;
    world.Boats.push_back(boat);
  }
}

QString VerdictSentence(const TStatistic& d) {
  const QLocale pl(QLocale::Polish, QLocale::Poland);
  auto n = [&pl](double v) { return pl.toString(v, 'f', 2); };
  const std::string verdict = Verdict(d);
  if (verdict == "better")
    return QStringLiteral("Doradzany układ jest lepszy od naiwnego: na próbach, których wyszukiwanie nie użyło, "
                          "ginie w nim średnio o %1 osób mniej na przebieg (95% przedział %2 – %3).")
        .arg(n(-d.Mean), n(-d.CiHigh), n(-d.CiLow));
  if (verdict == "worse")
    return QStringLiteral("Doradzany układ jest gorszy od naiwnego: na nowych próbach ginie w nim średnio o %1 osób "
                          "więcej (95% przedział %2 – %3), więc jego przewaga w wyszukiwaniu była przypadkiem.")
        .arg(n(d.Mean), n(d.CiLow), n(d.CiHigh));
  return QStringLiteral("Nie widać wyraźnej różnicy: przedział różnicy (%1 – %2) obejmuje zero, więc sprawdzenie nie "
                        "pokazuje, że doradzany układ ratuje więcej osób niż naiwny.")
      .arg(n(d.CiLow), n(d.CiHigh));
}
