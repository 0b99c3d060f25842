// wendo-lab optimize: snapping to valid cells and the shore line on known
// terrain; on a map whose sharks all arrive in one bay, the advice watches
// the bay; the advice is the same whatever the jobs; the check never runs a
// seed of the search; the written scenario loads with its own objects first;
// bad input is refused with nothing written.
#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QTemporaryDir>
#include <cmath>
#include <random>
#include <regex>
#include <set>

#include "lab_test_support.h"
#include "csv.h"
#include "how_many.h"
#include "layout_search.h"
#include "optimize_report.h"
#include "scenario_file.h"
#include "shore_line.h"
#include "wymianadanych.h"

using namespace wendo_lab;
using namespace wymianadanych;

namespace {

// Land to the right of x = 400, aqua sea to the left, and one bay of blue
// water, the only place where sharks arrive, cut into the land at the top.
constexpr int32_t BayLeft = 400, BayRight = 599, BayTop = 100, BayBottom = 139;

int32_t BayColour(int32_t x, int32_t y) {
  if (x >= BayLeft && x <= BayRight && y >= BayTop && y <= BayBottom) return WaterColour;
  return x < BayLeft ? CyanWaterColour : LandColour;
}

std::vector<int32_t> BayTerrain() {
  std::vector<int32_t> grid(static_cast<size_t>(MapWidth) * MapHeight);
  for (int32_t x = 0; x < MapWidth; ++x)
    for (int32_t y = 0; y < MapHeight; ++y) grid[static_cast<size_t>(x) * MapHeight + y] = BayColour(x, y);
  return grid;
}

QImage MapOf(int32_t (*colour)(int32_t x, int32_t y)) {
  QImage map(MapWidth, MapHeight, QImage::Format_RGB32);
  for (int32_t y = 0; y < MapHeight; ++y)
    for (int32_t x = 0; x < MapWidth; ++x) {
      const uint32_t c = static_cast<uint32_t>(colour(x, y));  // 0x00BBGGRR
      map.setPixel(x, y,
                   qRgb(static_cast<int>(c & 0xFF), static_cast<int>((c >> 8) & 0xFF), static_cast<int>(c >> 16)));
    }
  return map;
}

QImage BayMap() { return MapOf(BayColour); }

// A narrow blue sea to the left of x = 150, land to the right.
int32_t NarrowSeaColour(int32_t x, int32_t) { return x < 150 ? WaterColour : LandColour; }

// Blue sea to the left of x = 400, land to the right; below y = 600 a
// groyne of land, rows 590 to 609, runs from the shore to x = 100.
int32_t GroyneColour(int32_t x, int32_t y) {
  if (x >= 400 || (y >= 590 && y < 610 && x >= 100)) return LandColour;
  return WaterColour;
}

// Busy enough that an unwatched bay costs lives within minutes. The boat
// waits off the bay's mouth; it sees nothing itself (range 0) and moves
// only to chase a shark that an observation point has seen.
const char* BayScenario =
    "100\r\n1000\r\n2\r\n100\r\n20\r\n50\r\n15\r\n5\r\n30\r\n300\r\n0\r\n1\r\n350 120 350 120 50 0\r\n";

// From the middle of the bay.
double FromBay(int32_t x, int32_t y) {
  return std::hypot(x - (BayLeft + BayRight) / 2.0, y - (BayTop + BayBottom) / 2.0);
}

class Optimize : public ::testing::Test {
 protected:
  void SetUp() override {
    BayMap().save(QString::fromStdString(Path("bay.bmp")), "BMP");
    WriteText(Path("bay.wnd"), BayScenario);
  }
  std::string Path(const std::string& name) const {
    return QDir(dir.path()).filePath(QString::fromStdString(name)).toStdString();
  }
  QStringList Files() const {
    return QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
  }
  TLabCall OnBay(std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), {"optimize", Path("bay.wnd"), "--map", Path("bay.bmp")});
    return CallLab(arguments);
  }
  QTemporaryDir dir;
};

TEST(PlacementCells, SnapGivesTheNearestAcceptedCell) {
  // Scattered green cells and one olive field on cells that take nothing.
  std::vector<int32_t> grid(static_cast<size_t>(MapWidth) * MapHeight, NoPixel);
  std::mt19937 random(7);
  std::vector<TCell> accepted;
  for (int i = 0; i < 40; ++i)
    accepted.push_back({static_cast<int32_t>(random() % MapWidth), static_cast<int32_t>(random() % MapHeight)});
  for (int32_t x = 600; x < 700; ++x)
    for (int32_t y = 900; y < 950; ++y) accepted.push_back({x, y});
  for (size_t i = 0; i < accepted.size(); ++i)
    grid[static_cast<size_t>(accepted[i].X) * MapHeight + accepted[i].Y] = i < 40 ? LandColour : OliveColour;
  const TNearestCell nearest(grid, TObjectKind::Observer);
  ASSERT_FALSE(nearest.Empty());
  EXPECT_TRUE(TNearestCell(grid, TObjectKind::Boat).Empty());
  for (int q = 0; q < 300; ++q) {
    const int32_t x = static_cast<int32_t>(random() % MapWidth), y = static_cast<int32_t>(random() % MapHeight);
    int64_t best = INT64_MAX;
    for (const TCell& c : accepted) best = std::min(best, SquaredDistance(c.X - x, c.Y - y));
    const TCell s = nearest.Snap(x, y);
    EXPECT_TRUE(Accepts(TObjectKind::Observer, grid[static_cast<size_t>(s.X) * MapHeight + s.Y]));
    EXPECT_EQ(SquaredDistance(s.X - x, s.Y - y), best) << x << "," << y;
  }
  // Positions off the map are brought onto it first.
  EXPECT_EQ(nearest.Snap(650.4, 5000), nearest.Snap(650, MaxY));
  EXPECT_EQ(nearest.Snap(-30, -0.7), nearest.Snap(0, 0));
}

TEST(ShoreLine, FollowsTheCoastIntoTheBayAndOut) {
  const std::vector<int32_t> grid = BayTerrain();
  const TShoreLine land(grid, TObjectKind::Observer);
  const std::vector<TCell>& cells = land.Cells();
  ASSERT_FALSE(cells.empty());
  EXPECT_EQ(cells.front(), (TCell{400, 0}));
  // No jumps: the coast is one piece; the bay's far wall comes between
  // the coast above the bay and the coast below it.
  size_t farWall = 0;
  for (size_t i = 1; i < cells.size(); ++i) {
    EXPECT_LE(std::hypot(cells[i].X - cells[i - 1].X, cells[i].Y - cells[i - 1].Y), 3.0) << i;
    EXPECT_TRUE(Accepts(TObjectKind::Observer, grid[static_cast<size_t>(cells[i].X) * MapHeight + cells[i].Y]));
    if (cells[i].X == BayRight + 1 && farWall == 0) farWall = i;
  }
  ASSERT_GT(farWall, 0u);
  for (size_t i = 0; i < farWall; ++i) EXPECT_LT(cells[i].Y, BayBottom + 2) << i;
  EXPECT_GE(cells.back().Y, MaxY - 2);
  // Down the coast, along both walls of the bay and across its end
  // instead of its mouth.
  const double wall = BayRight + 1 - BayLeft, coast = MaxY + 2 * wall;
  EXPECT_NEAR(land.Length(), coast, 8);
  EXPECT_EQ(land.At(0), cells.front());
  EXPECT_EQ(land.At(1), cells.back());
  const TCell middle = land.At(0.5);  // past the bay, on the straight coast
  EXPECT_EQ(middle.X, BayLeft);
  EXPECT_NEAR(middle.Y, coast / 2 - 2 * wall, 6);

  const TShoreLine water(grid, TObjectKind::Boat);
  ASSERT_FALSE(water.Empty());
  for (const TCell& c : water.Cells()) EXPECT_TRUE(IsWater(grid[static_cast<size_t>(c.X) * MapHeight + c.Y]));
}

TEST_F(Optimize, FindsTheBayWhereAllSharksArrive) {
  const TLabCall c = OnBay({"--observers",
                            "1",
                            "--observer-range",
                            "200",
                            "--duration",
                            "300",
                            "--seeds-per-layout",
                            "4",
                            "--budget",
                            "120",
                            "--jobs",
                            "2",
                            "--out",
                            Path("best.wnd"),
                            "--heatmap-before",
                            Path("before.png"),
                            "--heatmap-after",
                            Path("after.png"),
                            "--heatmap-width",
                            "200"});
  ASSERT_EQ(c.Status, 0) << c.Err;
  TWorld best;
  LoadScenario(best, Path("best.wnd"));
  ASSERT_EQ(best.Observers.size(), 1u);
  const TObserwator& o = best.Observers[0];
  // The naive observation point, halfway along the shore, does not see the
  // bay; the advised one watches it.
  std::smatch naive;
  ASSERT_TRUE(std::regex_search(c.Out, naive, std::regex("Naive layout:\n  observation point at \\((\\d+),(\\d+)\\)")))
      << c.Out;
  EXPECT_GT(FromBay(std::stoi(naive[1]), std::stoi(naive[2])), 200);
  EXPECT_LE(FromBay(o.X, o.Y), 200) << o.X << "," << o.Y;
  EXPECT_NE(c.Out.find("Verdict: better."), std::string::npos) << c.Out;
  EXPECT_NE(c.Out.find(" --duration 300 --map " + Path("bay.bmp") + "\n"), std::string::npos) << c.Out;
  EXPECT_EQ(QImage(QString::fromStdString(Path("before.png"))).size(), QSize(200, 300));
  EXPECT_EQ(QImage(QString::fromStdString(Path("after.png"))).size(), QSize(200, 300));
}

TEST_F(Optimize, SameSearchSeedSameAdviceWhateverTheJobs) {
  auto call = [&](const char* jobs, const char* seed) {
    const TLabCall c = OnBay({"--observers", "1", "--boats", "1", "--duration", "120", "--seeds-per-layout", "2",
                              "--budget", "30", "--jobs", jobs, "--seed", seed, "--out", Path("best.wnd")});
    EXPECT_EQ(c.Status, 0) << c.Err;
    // The report without its clock times, and the file.
    return std::regex_replace(c.Out, std::regex(", \\d+:\\d\\d"), "") + ReadText(Path("best.wnd"));
  };
  const std::string one = call("1", "5"), two = call("2", "5");
  EXPECT_EQ(FirstDifference(one, two), "");
  EXPECT_NE(one.find("the best 4 again on"), std::string::npos) << one;
  EXPECT_NE(FirstDifference(one, call("2", "6")), "");
}

TEST_F(Optimize, TheCheckRunsOnlySeedsTheSearchNeverUsed) {
  TScenarioSetup base = ReadScenarioSetup(Path("bay.wnd"));
  TPlacementRequest request;
  request.Observers = 1;
  request.Boats = 1;
  const QImage map = BayMap();
  const TLayoutSearch search(map, base, request);
  TSearchSettings settings;
  settings.DurationMs = 30'000;
  settings.SeedsPerEvaluation = 3;
  settings.Budget = 50;
  settings.Jobs = 2;
  settings.WeighObjects = false;
  std::vector<TSweep> sweeps;
  std::vector<TSearchProgress> reports;
  const TOptimisation o = search.Run(
      settings, [&](const TSearchProgress& p) { reports.push_back(p); },
      [&](const TSweep& s, const TShardRuns& r, const QImage& m, const TSweepJobs& j) {
        sweeps.push_back(s);
        return RunSweep(s, r, m, j);
      });
  ASSERT_TRUE(o.CheckDone);
  // The progress bar's total: never passed, and reached at the end.
  for (const TSearchProgress& p : reports) EXPECT_LE(p.RunsDone, p.RunsPlanned);
  EXPECT_EQ(reports.back().RunsDone, o.SearchRuns + 600);
  EXPECT_EQ(reports.back().RunsPlanned, reports.back().RunsDone);
  ASSERT_GE(sweeps.size(), 3u);
  // The search: the scenario as given and every layout on the same seeds,
  // then the finalists on more; the last sweep is the check of the naive
  // and the advised layout and the scenario as given.
  const TSweep& check = sweeps.back();
  std::set<uint32_t> searched;
  int64_t runs = 0;
  for (size_t i = 0; i + 1 < sweeps.size(); ++i) {
    EXPECT_EQ(sweeps[i].Seeds, i + 2 < sweeps.size() ? o.Seeds.Search : o.Seeds.Final) << i;
    searched.insert(sweeps[i].Seeds.begin(), sweeps[i].Seeds.end());
    runs += sweeps[i].RunCount();
  }
  EXPECT_EQ(runs, o.SearchRuns);
  EXPECT_LE(runs, settings.Budget);
  EXPECT_EQ(searched.size(), o.Seeds.Search.size() + o.Seeds.Final.size());
  ASSERT_EQ(check.Seeds.size(), 200u);
  EXPECT_EQ(std::set<uint32_t>(check.Seeds.begin(), check.Seeds.end()).size(), 200u);
  for (uint32_t s : check.Seeds) EXPECT_EQ(searched.count(s), 0u) << s;
  ASSERT_EQ(check.Scenarios.size(), 3u);
  EXPECT_EQ(check.Scenarios[0].Scenario.Observers[0].X, o.Naive.Scenario.Observers[0].X);
  EXPECT_EQ(check.Scenarios[1].Scenario.Boats[1].PatrolY, o.Best.Scenario.Boats[1].PatrolY);
  EXPECT_EQ(check.Scenarios[2].Scenario.Observers.size(), 0u);
  // The comparison is seed by seed: the difference of the ratios of totals.
  ASSERT_EQ(o.Check.Best.Runs.size(), 200u);
  double eaten[2] = {0, 0}, hours[2] = {0, 0};
  for (size_t s = 0; s < 200; ++s)
    for (const auto& [i, outcome] : {std::pair{0, &o.Check.Naive}, std::pair{1, &o.Check.Best}}) {
      eaten[i] += outcome->Runs[s].Eaten;
      hours[i] += outcome->Runs[s].SwimHours;
    }
  EXPECT_NEAR(o.Check.Difference.Mean, 1000 * (eaten[1] / hours[1] - eaten[0] / hours[0]), 1e-6);
}

TEST_F(Optimize, RiskKeepsTheBeachOpenWhereFewestEatenClosesIt) {
  // Any sighting raises the alarm for the whole beach, so a post that sees
  // the sea empties it; one far inland sees no water and changes nothing.
  const QImage map = MapOf(NarrowSeaColour);
  TScenarioSetup base = ReadScenarioSetup(Path("bay.wnd"));
  base.Scenario.Boats.clear();
  TPlacementRequest request;
  request.Observers = 1;
  const TLayoutSearch search(map, base, request);
  TSearchSettings settings;
  settings.DurationMs = 300'000;
  settings.SeedsPerEvaluation = 4;
  settings.Budget = 120;
  settings.Jobs = 2;
  TOptimisation outcome[2];
  for (TObjective objective : {TObjective::Eaten, TObjective::Risk}) {
    settings.Objective = {objective, objective == TObjective::Risk ? 0.5 : 0.0};
    TOptimisation& o = outcome[objective == TObjective::Risk];
    o = search.Run(settings, {});
    ASSERT_TRUE(o.CheckDone && o.WeighingDone);
  }
  const TLayoutCheck &eaten = outcome[0].Check, &risk = outcome[1].Check;
  EXPECT_LT(eaten.Best.SwimHours.Mean, 0.2 * eaten.AsGiven.SwimHours.Mean);
  EXPECT_LT(eaten.Best.Eaten.Mean, eaten.AsGiven.Eaten.Mean);
  EXPECT_GT(risk.Best.SwimHours.Mean, 0.4 * risk.AsGiven.SwimHours.Mean);
  const TObserwator& post = outcome[1].Best.Scenario.Observers.at(0);
  EXPECT_FALSE(search.SeesWater(post)) << post.X << "," << post.Y;
  ASSERT_EQ(risk.Worth.size(), 1u);
  EXPECT_FALSE(risk.Worth[0].Measurable());
  const std::string report = OptimisationReport(outcome[1], {settings, search, 0, 0, "best.wnd", ""});
  EXPECT_NE(report.find("(its circle holds no water: it sees no shark)"), std::string::npos) << report;
  EXPECT_NE(report.find("makes no measurable difference"), std::string::npos) << report;
  const std::string closed = OptimisationReport(outcome[0], {settings, search, 0, 0, "best.wnd", ""});
  EXPECT_TRUE(std::regex_search(closed, std::regex("With the advised layout, the beach is closed: after \\d+ minutes "
                                                   "nobody swims")))
      << closed;
}

TEST_F(Optimize, ProposesOnlyBeatsABoatCanSailAndNamesABlockedOne) {
  // The scenario's boat would cross the groyne; it stops just before it.
  const QImage map = MapOf(GroyneColour);
  TScenarioSetup base = ReadScenarioSetup(Path("bay.wnd"));
  TLodz& own = base.Scenario.Boats.at(0);
  own.X = own.HomeX = 200;
  own.Y = own.HomeY = 300;
  own.PatrolX = 200;
  own.PatrolY = 900;
  own.Speed = 50;
  TPlacementRequest request;
  request.Boats = 2;
  const TLayoutSearch search(map, base, request);
  ASSERT_EQ(search.BlockedBoats().size(), 1u);
  const TBeatTrial& blocked = search.BlockedBoats()[0].Trial;
  EXPECT_TRUE(blocked.StoppedOutbound);
  EXPECT_EQ(blocked.Stop.X, 200);
  EXPECT_NEAR(blocked.Stop.Y, 585, 5);
  TSearchSettings settings;
  settings.DurationMs = 20'000;
  settings.SeedsPerEvaluation = 2;
  settings.Budget = 60;
  settings.HeldOutSeeds = 200;
  settings.WeighObjects = false;
  const auto simStep = static_cast<size_t>(FindParameter("SimStepMs") - ParameterTable.data());
  const TBeatChecker beats(map, base.Scenario.Parameters[simStep]);
  int64_t proposed = 0;
  const TOptimisation o = search.Run(settings, {}, [&](const TSweep& s, const TShardRuns& r, const QImage& m,
                                                       const TSweepJobs& j) {
    for (const TScenarioSetup& layout : s.Scenarios)
      for (size_t b = 1; b < layout.Scenario.Boats.size(); ++b, ++proposed)
        EXPECT_TRUE(beats.Try(layout.Scenario.Boats[b]).Sailable) << b;
    return RunSweep(s, r, m, j);
  });
  EXPECT_GT(proposed, 40);
  const std::string report = OptimisationReport(o, {settings, search, 0, 1, "best.wnd", ""});
  EXPECT_NE(report.find("cannot sail its beat: it stops at (200,"), std::string::npos) << report;
}

TEST_F(Optimize, HowManyForRangesOfCounts) {
  EXPECT_EQ(ParseCountRange("2-3", "--boats", 10).From, 2);
  EXPECT_EQ(ParseCountRange("2-3", "--boats", 10).To, 3);
  EXPECT_FALSE(ParseCountRange("4", "--boats", 10).IsRange());
  const TLabCall c = OnBay({"--observers", "0-1", "--boats", "0-1", "--duration", "60", "--seeds", "2", "--budget",
                            "36", "--table", Path("how.csv"), "--plot", Path("how.png")});
  ASSERT_EQ(c.Status, 0) << c.Err;
  EXPECT_NE(c.Out.find("3 combinations searched, the budget split evenly, 12 runs each"), std::string::npos) << c.Out;
  const TCsvTable table = ReadCsvFile(Path("how.csv"));
  ASSERT_EQ(table.Rows.size(), 4u);
  auto field = [&](size_t row, const char* column) { return table.Rows[row].Fields[table.Column(column)]; };
  for (size_t r = 0; r < 4; ++r) {
    EXPECT_EQ(field(r, "observers"), r < 2 ? "0" : "1");
    EXPECT_EQ(field(r, "boats"), r % 2 ? "1" : "0");
    // One more post where there is a row with one fewer, one more boat alike.
    EXPECT_EQ(field(r, "one_more_post").empty(), r < 2);
    EXPECT_EQ(field(r, "one_more_boat").empty(), r % 2 == 0);
  }
  // The step from the scenario as given to one boat is the difference of the two rows' risks.
  EXPECT_NEAR(std::stod(field(1, "one_more_boat")),
              std::stod(field(1, "eaten_per_1000_swim_hours")) - std::stod(field(0, "eaten_per_1000_swim_hours")), 1e-6);
  EXPECT_EQ(QImage(QString::fromStdString(Path("how.png"))).isNull(), false);
}

TEST_F(Optimize, AdviceLoadsWithTheScenarioOwnObjectsFirst) {
  const std::string scenario = ExampleFile("two_posts_one_boat.wnd");
  const TLabCall c =
      CallLab({"optimize", scenario, "--map", AssetFile("wendo.bmp").toStdString(), "--observers", "1", "--boats", "1",
               "--duration", "20", "--seeds", "1", "--budget", "6", "--out", Path("best.wnd")});
  ASSERT_EQ(c.Status, 0) << c.Err;
  TWorld own, best;
  LoadScenario(own, scenario);
  LoadScenario(best, Path("best.wnd"));
  for (const TParameter& p : ParameterTable) EXPECT_EQ(p.Get(best), p.Get(own)) << p.Name;
  ASSERT_EQ(best.Observers.size(), 3u);
  ASSERT_EQ(best.Boats.size(), 2u);
  for (size_t i = 0; i < 2; ++i) {
    EXPECT_EQ(best.Observers[i].X, own.Observers[i].X);
    EXPECT_EQ(best.Observers[i].Y, own.Observers[i].Y);
    EXPECT_EQ(best.Observers[i].Range, own.Observers[i].Range);
  }
  const TLodz& b = best.Boats[0];
  EXPECT_EQ(std::vector<int32_t>({b.HomeX, b.HomeY, b.PatrolX, b.PatrolY, b.Speed, b.Range}),
            std::vector<int32_t>({220, 600, 60, 600, 50, 200}));
  // The new ones stand where the objects dialog accepts them, with the
  // range and speed of the scenario's last object of their kind.
  const QImage map(AssetFile("wendo.bmp"));
  auto colour = [&](int32_t x, int32_t y) {
    const QRgb p = map.pixel(x, y);
    return qRed(p) + 256 * qGreen(p) + 65536 * qBlue(p);
  };
  const TObserwator& o = best.Observers[2];
  EXPECT_TRUE(Accepts(TObjectKind::Observer, colour(o.X, o.Y))) << o.X << "," << o.Y;
  EXPECT_EQ(o.Range, 250);
  const TLodz& n = best.Boats[1];
  EXPECT_TRUE(IsWater(colour(n.HomeX, n.HomeY)));
  EXPECT_TRUE(IsWater(colour(n.PatrolX, n.PatrolY)));
  EXPECT_EQ(n.Speed, 50);
  EXPECT_EQ(n.Range, 200);
  EXPECT_EQ(Files(), QStringList({"bay.bmp", "bay.wnd", "best.wnd"}));
}

// The outputs stand alone: one that cannot be written takes none of the
// others with it, and standard error says which were written.
TEST_F(Optimize, AnOutputThatCannotBeWrittenLosesNoneOfTheOthers) {
  const TLabCall c = OnBay({"--observers", "1", "--duration", "60", "--seeds", "2", "--budget", "8", "--out",
                            Path("best.wnd"), "--heatmap-before", "/dev/full", "--heatmap-after", Path("after.png")});
  EXPECT_EQ(c.Status, 1) << c.Err;
  EXPECT_NE(c.Err.find("cannot write --heatmap-before /dev/full: No space left on device\n"), std::string::npos)
      << c.Err;
  EXPECT_NE(c.Err.find("written: --out " + Path("best.wnd") + ", --heatmap-after " + Path("after.png") +
                       " and the report on standard output; not written: --heatmap-before /dev/full\n"),
            std::string::npos)
      << c.Err;
  EXPECT_NE(c.Out.find("Verdict:"), std::string::npos) << c.Out;
  TWorld best;
  LoadScenario(best, Path("best.wnd"));
  EXPECT_EQ(best.Observers.size(), 1u);
  EXPECT_FALSE(QImage(QString::fromStdString(Path("after.png"))).isNull());

  const TLabCall h = OnBay({"--observers", "0-1", "--duration", "60", "--seeds", "2", "--budget", "4", "--table",
                            "/dev/full", "--plot", Path("how.png")});
  EXPECT_EQ(h.Status, 1) << h.Err;
  EXPECT_NE(h.Err.find("written: --plot " + Path("how.png") +
                       " and the report on standard output; not written: --table /dev/full\n"),
            std::string::npos)
      << h.Err;
  EXPECT_NE(h.Out.find("Time: "), std::string::npos) << h.Out;
  EXPECT_FALSE(QImage(QString::fromStdString(Path("how.png"))).isNull());
}

TEST_F(Optimize, BadInputIsRefusedAndNothingWritten) {
  QImage sea(MapWidth, MapHeight, QImage::Format_RGB32), fields(sea), apart(sea);
  sea.fill(qRgb(0, 0, 255));
  fields.fill(qRgb(0, 128, 0));
  apart.fill(qRgb(0, 128, 0));  // land and water kept apart by a grey strip
  for (int32_t y = 0; y < MapHeight; ++y)
    for (int32_t x = 0; x < 420; ++x) apart.setPixel(x, y, x < 400 ? qRgb(0, 0, 255) : qRgb(128, 128, 128));
  sea.save(QString::fromStdString(Path("sea.bmp")), "BMP");
  fields.save(QString::fromStdString(Path("fields.bmp")), "BMP");
  apart.save(QString::fromStdString(Path("apart.bmp")), "BMP");
  const std::string scenario = Path("bay.wnd"), out = Path("best.wnd");
  struct TCase {
    std::vector<std::string> arguments;
    std::string message;
    bool howMany = false;  // no --out added
  };
  const std::vector<TCase> cases = {
      {{"--observers", "1", "--map", Path("sea.bmp")}, "the map has no green or olive cell"},
      {{"--boats", "1", "--map", Path("fields.bmp")}, "the map has no water (blue or aqua) cell"},
      {{"--observers", "1", "--map", Path("apart.bmp")}, "the map has no shore for an observation point"},
      {{"--observers", "-1"}, "--observers \"-1\": expected a whole number from 0"},
      {{"--boats", "-2", "--observers", "1"}, "--boats \"-2\": expected a whole number from 0"},
      {{"--observers", "0"}, "nothing to place"},
      {{"--observers", "1", "--seeds", "8", "--budget", "7"}, "less than one evaluation"},
      {{"--observers", "1", "--held-out", "199"}, "--held-out \"199\": expected a whole number from 200"},
      {{"--observers", "1", "--observer-range", "-5"}, "--observer-range"},
      {{"--observers", "1", "--duration", "0"}, "expected a positive number"},
      {{"--observers", "1", "--jobs", "0"}, "--jobs"},
      {{"--observers", "1", "--map", Path("none.bmp")}, "no such file"},
      {{"--observers", "1", "--out", Path("no/such/folder/best.wnd")}, "does not exist"},
      {{"--observers", "1", "--heatmap-after", Path("nowhere/after.png")}, "does not exist"},
      {{"--observers", "1", "--out", "-"}, "name a file"},
      {{"--observers", "1", "--heatmap-before", Path("best.wnd")}, "name the same file"},
      {{"--observers", "1", "--heatmap-before", Path("h.png"), "--heatmap-after", Path("h.png")}, "name the same file"},
      {{"--observers", "1", "--objective", "safety"}, "the objectives are risk, eaten"},
      {{"--observers", "1", "--min-use", "1.5"}, "--min-use \"1.5\": expected a share from 0 to 1"},
      {{"--observers", "1", "--min-use", "half"}, "expected a share from 0 to 1"},
      {{"--observers", "3-1"}, "a range goes up"},
      {{"--boats", "1-"}, "expected a count, or a range of counts such as 0-3"},
      {{"--observers", "0-3", "--boats", "0-2", "--budget", "50", "--table", Path("t.csv")},
       "split over 11 combinations of counts gives each 4", true},
      {{"--observers", "1", "--table", Path("t.csv")}, "--table means nothing without a range of counts"},
      {{"--observers", "0-2", "--prune"}, "--prune means nothing with a range of counts", true},
      {{"--observers", "0-2", "--out", Path("best.wnd")}, "--out means nothing with a range of counts"},
  };
  const QStringList before = Files();
  for (const TCase& c : cases) {
    std::vector<std::string> arguments = {"optimize", scenario};
    arguments.insert(arguments.end(), c.arguments.begin(), c.arguments.end());
    if (std::find(arguments.begin(), arguments.end(), "--map") == arguments.end())
      arguments.insert(arguments.end(), {"--map", Path("bay.bmp")});
    if (!c.howMany && std::find(arguments.begin(), arguments.end(), "--out") == arguments.end())
      arguments.insert(arguments.end(), {"--out", out});
    const TLabCall call = CallLab(arguments);
    SCOPED_TRACE(c.message);
    EXPECT_EQ(call.Status, 2) << call.Err;
    EXPECT_NE(call.Err.find(c.message), std::string::npos) << call.Err;
    EXPECT_EQ(call.Out, "");
    EXPECT_EQ(Files(), before);
  }
  for (const std::vector<std::string>& a : std::vector<std::vector<std::string>>{
           {"optimize", Path("none.wnd"), "--observers", "1", "--out", out},  // no such scenario
           {"optimize", scenario, "--observers", "1"}}) {                     // no --out
    const TLabCall call = CallLab(a);
    EXPECT_EQ(call.Status, 2) << call.Err;
    EXPECT_NE(call.Err, "");
    EXPECT_EQ(Files(), before);
  }
}

}  // namespace
