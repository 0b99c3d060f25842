#include "layout_advice.h"

#include <mutex>

#include "optimize_report.h"
#include "wendoUnit10.h"

using namespace wendo_lab;

TSearchSettings AdviceSettings(TAdviceEffort effort, int jobs) {
  TSearchSettings s;
  s.Jobs = jobs;
  s.Objective = DefaultObjectiveSettings(TObjective::Risk);
  // A default hour-long run of a layout takes 60 to 70 ms on one core of
  // the busy two-core machine these were timed on, end to end: "Szybko" about a
  // minute, "Dokładnie" about five. The check runs the advice, the naive
  // layout and the scenario as given on the held-out seeds, and the advice
  // without each added object in turn.
  if (effort == TAdviceEffort::Quick) {
    s.SeedsPerEvaluation = 6;
    s.Budget = 500;
    s.HeldOutSeeds = 100;
  } else {
    s.SeedsPerEvaluation = 10;
    s.Budget = 2800;
    s.HeldOutSeeds = 300;
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

bool IsAdvice(const TOptimisation& o) { return o.CheckDone && Verdict(o.Check.Difference) == "better"; }

QString PolishNumber(double v, int decimals) {
  static const QLocale pl(QLocale::Polish, QLocale::Poland);
  return pl.toString(v, 'f', decimals);
}

namespace {

QString N(double v) { return PolishNumber(v, 2); }

// What the objective counts, after a number.
QString Unit(TObjective objective) {
  return objective == TObjective::Risk ? QStringLiteral("zjedzonych na 1000 godzin pływania")
                                       : QStringLiteral("zjedzonych na przebieg");
}

QString Interval(const TStatistic& s, int decimals = 2, const QString& suffix = {}) {
  if (s.N < 2) return QStringLiteral("(przedziału nie da się wyznaczyć)");
  return QStringLiteral("(95% przedział %1%3 – %2%3)")
      .arg(PolishNumber(s.CiLow, decimals), PolishNumber(s.CiHigh, decimals), suffix);
}

QString Signed(double v, int decimals) { return (v > 0 ? QStringLiteral("+") : QString()) + PolishNumber(v, decimals); }

QString Cell(int32_t x, int32_t y) { return QStringLiteral("(%1, %2)").arg(x).arg(y); }

QString PostText(const wymianadanych::TObserwator& o) {
  return QStringLiteral("punkt obserwacyjny w %1, zasięg %2 dm").arg(Cell(o.X, o.Y)).arg(o.Range);
}

QString BoatText(const wymianadanych::TLodz& b) {
  return QStringLiteral("łódź: przystań %1, punkt patrolowy %2, %3 dm/s, zasięg %4 dm")
      .arg(Cell(b.HomeX, b.HomeY), Cell(b.PatrolX, b.PatrolY))
      .arg(b.Speed)
      .arg(b.Range);
}

QString OutcomeText(const QString& name, const TLayoutOutcome& o) {
  QString text = name + QStringLiteral(":\n");
  text += QStringLiteral("  zjedzeni na przebieg: %1 %2\n").arg(N(o.Eaten.Mean), Interval(o.Eaten));
  text += QStringLiteral("  godziny pływania na przebieg: %1 %2\n")
              .arg(PolishNumber(o.SwimHours.Mean, 1), Interval(o.SwimHours, 1));
  TStatistic open = o.OpenShare;
  open.Mean *= 100, open.CiLow *= 100, open.CiHigh *= 100;
  text += QStringLiteral("  część czasu bez alarmu: %1% %2\n")
              .arg(PolishNumber(open.Mean, 1), Interval(open, 1, QStringLiteral("%")));
  if (!o.Risk.Known) return text + QStringLiteral("  ryzyko: nieznane (nikt nie pływał)\n");
  return text + QStringLiteral("  ryzyko: %1 %2 %3\n").arg(N(o.Risk.Ratio), Unit(TObjective::Risk), Interval(FromRatio(o.Risk)));
}

bool Ran(const TLayoutOutcome& o) { return !o.Runs.empty(); }

// The second half of the verdict: the searched layout against the
// scenario as given, in safety and in swimming.
QString AgainstAsGiven(const TLayoutCheck& c, TObjective objective) {
  const TStatistic& d = c.BestOverAsGiven;
  const double swimming = c.Best.SwimHours.Mean - c.AsGiven.SwimHours.Mean;
  const std::string verdict = Verdict(d);
  if (verdict == "better")
    return QStringLiteral("; od scenariusza bez zmian jest bezpieczniejszy o %1 %2 (95% przedział %3 – %4)")
        .arg(N(-d.Mean), Unit(objective), N(-d.CiHigh), N(-d.CiLow));
  if (verdict == "worse")
    return QStringLiteral("; jest jednak mniej bezpieczny niż scenariusz bez zmian (o %1 %2 więcej)%3")
        .arg(N(d.Mean), Unit(objective),
             swimming > 0 ? QStringLiteral(": daje więcej pływania, nie bezpieczeństwo") : QString());
  return QStringLiteral("; od scenariusza bez zmian nie jest mierzalnie bezpieczniejszy (przedział różnicy %1 – %2 "
                        "obejmuje zero)%3")
      .arg(N(d.CiLow), N(d.CiHigh), swimming > 0 ? QStringLiteral(", daje tylko więcej pływania") : QString());
}

}  // namespace

QString VerdictSentence(const TLayoutCheck& c, TObjective objective) {
  const TStatistic& d = c.Difference;
  const std::string verdict = Verdict(d);
  QString text;
  if (verdict == "better")
    text = QStringLiteral("Doradzany układ jest lepszy od naiwnego: na próbach, których wyszukiwanie nie użyło, ma "
                          "średnio o %1 %2 mniej (95% przedział %3 – %4)")
               .arg(N(-d.Mean), Unit(objective), N(-d.CiHigh), N(-d.CiLow));
  else if (verdict == "worse")
    text = QStringLiteral("Układ z wyszukiwania jest gorszy od naiwnego: na nowych próbach ma średnio o %1 %2 więcej "
                          "(95% przedział %3 – %4), więc jego przewaga w wyszukiwaniu była przypadkiem")
               .arg(N(d.Mean), Unit(objective), N(d.CiLow), N(d.CiHigh));
  else
    text = QStringLiteral("Nie widać wyraźnej różnicy między układem z wyszukiwania a naiwnym: przedział różnicy "
                          "(%1 – %2 %3) obejmuje zero")
               .arg(N(d.CiLow), N(d.CiHigh), Unit(objective));
  if (Ran(c.AsGiven)) text += AgainstAsGiven(c, objective);
  return text + u'.';
}

QString ScoreWords(double score, TObjective objective) {
  if (Rejected(score)) return QStringLiteral("odrzucony (za mało pływania)");
  return N(score) + u' ' + Unit(objective);
}

namespace {

QString Heading(const TOptimisation& o, bool naiveOffered) {
  if (!o.SearchDone) return QStringLiteral("Najlepszy dotąd układ (niesprawdzony: wyszukiwanie przerwano):\n");
  if (!o.CheckDone) return QStringLiteral("Najlepszy układ wyszukiwania (niesprawdzony: przerwano sprawdzanie):\n");
  if (IsAdvice(o)) return QStringLiteral("Doradzany układ:\n");
  if (naiveOffered)
    return QStringLiteral("To nie jest porada: wyszukiwanie nie znalazło nic wyraźnie lepszego od układu naiwnego. "
                          "Poniżej układ naiwny, lepszy z dwóch na nowych próbach tylko według średniej:\n");
  return QStringLiteral("To nie jest porada: najlepszy układ wyszukiwania nie jest wyraźnie lepszy od naiwnego, "
                        "jest tylko lepszy z dwóch na nowych próbach według średniej:\n");
}

QString Objects(const TScenarioSetup& layout, const TAdviceContext& c) {
  QString text;
  const auto& s = layout.Scenario;
  for (size_t i = c.OwnObservers; i < s.Observers.size(); ++i) text += QStringLiteral("  ") + PostText(s.Observers[i]) + u'\n';
  for (size_t i = c.OwnBoats; i < s.Boats.size(); ++i) text += QStringLiteral("  ") + BoatText(s.Boats[i]) + u'\n';
  return text;
}

QString SearchText(const TOptimisation& o, const TAdviceContext& c) {
  const TObjectiveSettings& objective = c.Settings.Objective;
  QString text = objective.Objective == TObjective::Risk
                     ? QStringLiteral("Cel: ryzyko, czyli zjedzeni na 1000 godzin pływania")
                     : QStringLiteral("Cel: zjedzeni ludzie na przebieg");
  if (objective.MinUse > 0)
    text += QStringLiteral("; układ, który zachowuje mniej niż %1% godzin pływania scenariusza bez zmian, jest "
                           "odrzucany")
                .arg(PolishNumber(100 * objective.MinUse, 0));
  text += QStringLiteral(".\nWyszukiwanie: ocenione układy: %1, każdy na tych samych %2 próbach")
              .arg(o.Evaluations)
              .arg(c.Settings.SeedsPerEvaluation);
  if (o.BestScore)
    text += QStringLiteral("; najlepszy: %1 (na %2 próbach)").arg(ScoreWords(*o.BestScore, objective.Objective)).arg(o.BestSeeds);
  return text + QStringLiteral(".\n");
}

QString CheckText(const TOptimisation& o, const TAdviceContext& c) {
  const TLayoutCheck& k = o.Check;
  const TObjective objective = c.Settings.Objective.Objective;
  const QString best = IsAdvice(o) ? QStringLiteral("Układ doradzany") : QStringLiteral("Układ z wyszukiwania");
  QString text = QStringLiteral("Sprawdzenie na %1 nowych próbach, których wyszukiwanie nie użyło (wartości na "
                                "przebieg; ryzyko ze wszystkich przebiegów razem):\n")
                     .arg(static_cast<qlonglong>(k.Best.Runs.size()));
  if (Ran(k.AsGiven)) text += OutcomeText(QStringLiteral("Scenariusz bez zmian"), k.AsGiven);
  if (Ran(k.Naive)) text += OutcomeText(QStringLiteral("Układ naiwny"), k.Naive);
  text += OutcomeText(best, k.Best);
  auto difference = [&](const QString& name, const TStatistic& d) {
    return QStringLiteral("Różnica (%1), próba w próbę: %2 %3 %4.\n").arg(name, N(d.Mean), Unit(objective), Interval(d));
  };
  const QString searched = IsAdvice(o) ? QStringLiteral("doradzany") : QStringLiteral("z wyszukiwania");
  if (Ran(k.Naive)) text += difference(searched + QStringLiteral(" − naiwny"), k.Difference);
  if (Ran(k.AsGiven))
    text += difference(searched + QStringLiteral(" − bez zmian"), k.BestOverAsGiven)
                .chopped(2) +
            QStringLiteral("; godziny pływania %1 na przebieg.\n")
                .arg(Signed(k.Best.SwimHours.Mean - k.AsGiven.SwimHours.Mean, 1));
  if (Ran(k.Naive)) text += VerdictSentence(k, objective) + u'\n';
  return text;
}

QString WorthText(const TOptimisation& o, const TAdviceContext& c) {
  if (!o.WeighingDone) return QStringLiteral("Ważenie obiektów przerwano: nie wiadomo, ile wnosi każdy z nich.\n");
  if (o.Check.Worth.empty()) return {};
  QString text = QStringLiteral("Co wnosi każdy dodany obiekt układu z wyszukiwania (%1 bez niego minus z nim, na tych "
                                "samych nowych próbach; powyżej zera pomaga):\n")
                     .arg(Unit(c.Settings.Objective.Objective));
  const auto& s = o.Best.Scenario;
  for (const TObjectWorth& w : o.Check.Worth) {
    const QString name = w.Boat ? BoatText(s.Boats[w.Index]) : PostText(s.Observers[w.Index]);
    const QString meaning = !w.Measurable()            ? QStringLiteral("nie robi mierzalnej różnicy")
                            : w.Contribution.Mean > 0 ? QStringLiteral("pomaga")
                                                      : QStringLiteral("szkodzi");
    text += QStringLiteral("  %1: %2 %3, %4\n").arg(name, N(w.Contribution.Mean), Interval(w.Contribution), meaning);
  }
  return text;
}

QString Warnings(const TOptimisation& o, const TScenarioSetup& offered, const TAdviceContext& c) {
  QStringList lines;
  const auto& own = c.Search.Naive().Scenario.Boats;
  for (const TBlockedBoat& b : c.Search.BlockedBoats())
    lines << QStringLiteral("Łódź nr %1 scenariusza (%2) nie przepłynie swojej trasy: zatrzymuje się w %3 w drodze %4, "
                            "bo dalej nie ma wody.")
                 .arg(b.Index + 1)
                 .arg(BoatText(own[b.Index]), Cell(b.Trial.Stop.X, b.Trial.Stop.Y),
                      b.Trial.StoppedOutbound ? QStringLiteral("do punktu patrolowego") : QStringLiteral("powrotnej"));
  const TObjectiveSettings& objective = c.Settings.Objective;
  if (o.BestScore && Rejected(*o.BestScore))
    lines << QStringLiteral("Żaden układ wyszukiwania nie zachował %1% pływania scenariusza bez zmian: odrzucono "
                            "wszystkie, a pokazany zachował go najwięcej.")
                 .arg(PolishNumber(100 * objective.MinUse, 0));
  else if (o.SearchDone && ScenarioText(o.Best) == ScenarioText(o.Naive))
    lines << QStringLiteral("Żaden układ nie wypadł lepiej od naiwnego: wynikiem wyszukiwania jest układ naiwny.");
  if (o.CheckDone) {
    const std::pair<QString, const TLayoutOutcome*> layouts[] = {{QStringLiteral("scenariuszu bez zmian"), &o.Check.AsGiven},
                                                                 {QStringLiteral("układzie naiwnym"), &o.Check.Naive},
                                                                 {QStringLiteral("układzie z wyszukiwania"), &o.Check.Best}};
    for (const auto& [name, outcome] : layouts)
      if (Ran(*outcome) && outcome->NobodySwimsAfterMinutes)
        lines << QStringLiteral("W %1 plaża jest zamknięta: po %2 min nikt nie pływa (w drugiej połowie przebiegu "
                                "średnio mniej niż jeden pływak: %3).")
                     .arg(name)
                     .arg(*outcome->NobodySwimsAfterMinutes)
                     .arg(N(outcome->LastHalfSwimmers));
  }
  const auto& posts = offered.Scenario.Observers;
  for (size_t i = c.OwnObservers; i < posts.size(); ++i) {
    const auto& p = posts[i];
    if (!c.Search.SeesWater(p))
      lines << QStringLiteral("Punkt obserwacyjny w %1: jego krąg nie obejmuje wody, więc nie zobaczy żadnego rekina.")
                   .arg(Cell(p.X, p.Y));
    if (c.Search.BesideWater(p))
      lines << QStringLiteral("Punkt obserwacyjny w %1 stoi tuż przy wodzie, skąd ostrzeżeni przez niego ludzie nie "
                              "mają dokąd uciec.")
                   .arg(Cell(p.X, p.Y));
  }
  if (lines.isEmpty()) return {};
  return QStringLiteral("Uwagi:\n  ") + lines.join(QStringLiteral("\n  ")) + u'\n';
}

}  // namespace

QString AdviceReport(const TOptimisation& o, const TAdviceContext& c) {
  const TScenarioSetup& offered = WrittenLayout(o, c.Settings.Objective.Objective);
  QString text = Heading(o, &offered == &o.Naive) + Objects(offered, c) + SearchText(o, c);
  if (o.CheckDone) text += CheckText(o, c) + WorthText(o, c);
  text += Warnings(o, offered, c);
  text += QStringLiteral("Czas: wyszukiwanie %1").arg(DurationText(o.SearchSeconds));
  if (o.CheckDone) text += QStringLiteral(", sprawdzenie %1").arg(DurationText(o.CheckSeconds));
  if (o.CheckDone && !o.Check.Worth.empty()) text += QStringLiteral(", ważenie obiektów %1").arg(DurationText(o.WeighSeconds));
  return text + u'.';
}

QString HowManyNotes(const THowMany& t, const TSearchSettings& settings) {
  const TObjectiveSettings& objective = settings.Objective;
  QString text = QStringLiteral("Ile obiektów: przeszukane kombinacje liczb: %1, budżet podzielony po równo, po %2 "
                                "przebiegów na każdą; najlepszy układ każdej sprawdzony na tych samych %3 nowych "
                                "próbach. 0 punktów i 0 łodzi to scenariusz bez zmian. Punkt lub łódź więcej: zmiana "
                                "celu (%4) względem wiersza z jednym obiektem mniej, próba w próbę (poniżej zera "
                                "pomaga).\n")
                     .arg(t.Combinations)
                     .arg(t.BudgetEach)
                     .arg(settings.HeldOutSeeds)
                     .arg(Unit(objective.Objective));
  if (!t.Done)
    text += QStringLiteral("Przerwano: tabela pokazuje tylko sprawdzone kombinacje, bez zmian od obiektu więcej.\n");
  for (const THowManyRow& r : t.Rows)
    if (r.NoneKeptSwimming)
      text += QStringLiteral("Punkty: %1, łodzie: %2: żaden układ wyszukiwania nie zachował %3% pływania; wiersz "
                             "pokazuje ten, który zachował go najwięcej, mimo to odrzucony.\n")
                  .arg(r.Observers)
                  .arg(r.Boats)
                  .arg(PolishNumber(100 * objective.MinUse, 0));
  text += QStringLiteral("Aby wziąć układ do scenariusza, wpisz wybrane liczby (bez zakresu) i uruchom doradcę "
                         "jeszcze raz.\n");
  if (t.Done) text += QStringLiteral("Czas: %1.").arg(DurationText(t.Seconds));
  return text;
}
