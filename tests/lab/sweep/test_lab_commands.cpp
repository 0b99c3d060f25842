// wendo-lab's commands as a user gives them: the order of the results
// whatever the jobs, shards merged back into the whole, the series against
// the results, the summary's numbers, the heatmap, what a stopped run says
// it left, and every kind of bad input refused with status 2 and nothing
// written.
#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QTemporaryDir>
#include <sstream>

#include "csv.h"
#include "lab_test_support.h"
#include "results_table.h"

using namespace wendo_lab;

namespace {

class LabCommands : public ::testing::Test {
 protected:
  std::string Path(const std::string& name) const {
    return QDir(dir.path()).filePath(QString::fromStdString(name)).toStdString();
  }
  // Every file in the folder, hidden ones (temporary files) included.
  QStringList Files() const {
    return QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
  }
  // The test program has no map beside it: the source tree's unless given.
  TLabCall Run(std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), "run");
    if (std::find(arguments.begin(), arguments.end(), "--map") == arguments.end())
      arguments.insert(arguments.end(), {"--map", AssetFile("wendo.bmp").toStdString()});
    return CallLab(arguments);
  }

  QTemporaryDir dir;
  const std::string guarded = ExampleFile("five_posts_three_boats.wnd");
  const std::string light = ExampleFile("two_posts_one_boat.wnd");
  // Two scenarios, two parameters, three seeds out of order: 24 runs.
  const std::vector<std::string> sweep = {guarded, light,   "--duration",      "300",   "--seeds",
                                          "3,1-2", "--set", "PersonMax=30,10", "--set", "SharkSpeed=30:60:30"};
};

// The words of the `nth` line that starts with `first`.
std::vector<std::string> Words(const std::string& text, const std::string& first, int nth) {
  std::istringstream lines(text);
  for (std::string line; std::getline(lines, line);) {
    std::istringstream in(line);
    std::vector<std::string> words;
    for (std::string w; in >> w;) words.push_back(w);
    if (!words.empty() && words[0] == first && nth-- == 0) return words;
  }
  return {};
}

std::vector<std::string> Plus(std::vector<std::string> a, const std::vector<std::string>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

TEST_F(LabCommands, RowsComeInCanonicalOrderWhateverTheJobs) {
  const TLabCall one = Run(Plus(sweep, {"--jobs", "1", "--out", Path("one.csv")}));
  const TLabCall four = Run(Plus(sweep, {"--jobs", "4", "--out", Path("four.csv")}));
  const TLabCall toStdout = Run(Plus(sweep, {"--jobs", "3"}));
  ASSERT_EQ(one.Status, 0) << one.Err;
  ASSERT_EQ(four.Status, 0) << four.Err;
  ASSERT_EQ(toStdout.Status, 0) << toStdout.Err;
  const std::string text = ReadText(Path("one.csv"));
  EXPECT_EQ(FirstDifference(text, ReadText(Path("four.csv"))), "");
  EXPECT_EQ(FirstDifference(text, toStdout.Out), "");
  EXPECT_EQ(Files(), QStringList({"four.csv", "one.csv"}));

  const TCsvTable table = ParseCsv(text, "one.csv");
  EXPECT_EQ(table.Header, RunTableHeader());
  ASSERT_EQ(table.Rows.size(), 24u);
  const int scenario = table.Column("scenario"), personMax = table.Column("person_max"),
            sharkSpeed = table.Column("shark_speed"), seed = table.Column("seed");
  const char* seeds[] = {"3", "1", "2"};
  int64_t eaten = 0;
  for (size_t i = 0; i < table.Rows.size(); ++i) {
    const std::vector<std::string>& f = table.Rows[i].Fields;
    EXPECT_EQ(f[0], std::to_string(i + 1));
    EXPECT_EQ(f[scenario], i < 12 ? guarded : light);
    EXPECT_EQ(f[personMax], i % 12 < 6 ? "30" : "10");
    EXPECT_EQ(f[sharkSpeed], i % 6 < 3 ? "30" : "60");
    EXPECT_EQ(f[seed], seeds[i % 3]);
    EXPECT_EQ(f[table.Column("shark_max")], "5");  // from the scenario file
    EXPECT_EQ(f[table.Column("duration_s")], "300");
    eaten += std::stoll(f[table.Column("people_eaten")]);
  }
  EXPECT_GT(eaten, 0);
}

TEST_F(LabCommands, ShardsMergeIntoTheWholeSweepAndTheSeriesEndsAtTheResults) {
  auto call = [&](const std::string& tag, const std::vector<std::string>& extra) {
    std::vector<std::string> a = Plus(
        sweep, {"--out", Path("runs" + tag + ".csv"), "--series", Path("series" + tag + ".csv"), "--every", "125"});
    const TLabCall c = Run(Plus(a, extra));
    EXPECT_EQ(c.Status, 0) << c.Err;
  };
  call("", {"--jobs", "2"});
  for (const char* k : {"1", "2", "3"}) call(k, {"--shard", std::string(k) + "/3", "--jobs", "1"});
  const std::string whole = ReadText(Path("runs.csv")), wholeSeries = ReadText(Path("series.csv"));
  // The shards are handed over in any order.
  const TLabCall merged = CallLab({"merge", Path("runs3.csv"), Path("runs1.csv"), Path("runs2.csv")});
  const TLabCall mergedSeries =
      CallLab({"merge", Path("series2.csv"), Path("series3.csv"), Path("series1.csv"), "--out", Path("merged.csv")});
  ASSERT_EQ(merged.Status, 0) << merged.Err;
  ASSERT_EQ(mergedSeries.Status, 0) << mergedSeries.Err;
  EXPECT_EQ(FirstDifference(whole, merged.Out), "");
  EXPECT_EQ(FirstDifference(wholeSeries, ReadText(Path("merged.csv"))), "");
  EXPECT_LT(ReadText(Path("runs1.csv")).size(), whole.size() / 2);

  // A shard left out, or one given twice, is refused.
  const TLabCall missing = CallLab({"merge", Path("runs1.csv"), Path("runs3.csv")});
  EXPECT_EQ(missing.Status, 2);
  EXPECT_NE(missing.Err.find("is a shard missing"), std::string::npos) << missing.Err;
  const TLabCall twice = CallLab({"merge", Path("runs1.csv"), Path("runs2.csv"), Path("runs1.csv")});
  EXPECT_EQ(twice.Status, 2);
  EXPECT_NE(twice.Err.find("is in both"), std::string::npos) << twice.Err;
  const TLabCall mixed = CallLab({"merge", Path("runs1.csv"), Path("series2.csv")});
  EXPECT_EQ(mixed.Status, 2);

  // Samples at 0, 125 and 250 s, none at the end (300 s).
  const TCsvTable runs = ParseCsv(whole, "runs.csv"), series = ParseCsv(wholeSeries, "series.csv");
  ASSERT_EQ(series.Rows.size(), runs.Rows.size() * 3);
  const size_t time = static_cast<size_t>(series.Column("time_s"));
  for (size_t i = 0; i < runs.Rows.size(); ++i) {
    const TCsvRecord& last = series.Rows[i * 3 + 2];
    EXPECT_EQ(series.Rows[i * 3].Fields[time], "0");
    EXPECT_EQ(last.Fields[0], runs.Rows[i].Fields[0]);
    EXPECT_EQ(last.Fields[time], "250");
    for (const char* c : {"people_arrived", "people_eaten", "sharks_killed", "sightings_by_boats"}) {
      const int s = series.Column(c);
      EXPECT_LE(std::stoll(last.Fields[s]), std::stoll(runs.Rows[i].Fields[runs.Column(c)])) << c;
      EXPECT_LE(std::stoll(series.Rows[i * 3 + 1].Fields[s]), std::stoll(last.Fields[s])) << c;
    }
  }
}

TEST_F(LabCommands, SeriesSampleAtTheEndEqualsTheResults) {
  const TLabCall c = Run({guarded, "--duration", "90", "--seeds", "1-3", "--out", Path("r.csv"), "--series",
                          Path("s.csv"), "--every", "45"});
  ASSERT_EQ(c.Status, 0) << c.Err;
  const TCsvTable runs = ReadCsvFile(Path("r.csv")), series = ReadCsvFile(Path("s.csv"));
  ASSERT_EQ(series.Rows.size(), 9u);
  for (size_t i = 0; i < 3; ++i) {
    const TCsvRecord& end = series.Rows[i * 3 + 2];
    EXPECT_EQ(end.Fields[static_cast<size_t>(series.Column("time_s"))], "90");
    for (size_t s = 1; s < series.Header.size(); ++s) {
      const int r = runs.Column(series.Header[s]);  // none for the series' own, time_s, swimmers and alarm
      if (r >= 0) {
        EXPECT_EQ(end.Fields[s], runs.Rows[i].Fields[r]) << series.Header[s];
      }
    }
  }
}

TEST_F(LabCommands, SummaryOfAHandCheckedTable) {
  // Configuration a: people_eaten 1, 2, 3, 6 (mean 3, sd √(14/3)); first
  // eaten at 10 s and 20 s in two runs only. Configuration b: one run, of
  // no step (no alarm_share). A blank line at the end, as editors leave.
  std::string table;
  AppendRecord(table, RunTableHeader());
  const std::vector<std::string> header = RunTableHeader();
  auto row = [&](const std::string& scenario, int run, const std::string& eaten, const std::string& first) {
    std::vector<std::string> r(header.size(), "7");
    auto set = [&](const char* c, const std::string& v) {
      r[std::find(header.begin(), header.end(), c) - header.begin()] = v;
    };
    set("run", std::to_string(run));
    set("scenario", scenario);
    set("seed", std::to_string(run));
    set("people_eaten", eaten);
    set("first_eaten_s", first);
    set("alarm_share", scenario == "b.wnd" ? "" : "0.25");
    AppendRecord(table, r);
  };
  row("a, with a comma.wnd", 1, "1", "10");
  row("a, with a comma.wnd", 2, "2", "");
  row("a, with a comma.wnd", 3, "3", "20");
  row("a, with a comma.wnd", 4, "6", "");
  row("b.wnd", 5, "4", "");
  WriteText(Path("runs.csv"), table + "\r\n");

  const TLabCall c = CallLab({"summary", Path("runs.csv"), "--csv", Path("summary.csv")});
  ASSERT_EQ(c.Status, 0) << c.Err;
  // The terminal table: a heading per configuration, a row per result.
  EXPECT_EQ(c.Out.find("a, with a comma.wnd  (4 runs)\n"), 0u) << c.Out;
  EXPECT_NE(c.Out.find("\nb.wnd  (1 run)\n"), std::string::npos) << c.Out;
  EXPECT_EQ(Words(c.Out, "people_eaten", 0),
            (std::vector<std::string>{"people_eaten", "4", "3.00", "2.16", "-0.44", "6.44"}));
  EXPECT_EQ(Words(c.Out, "first_eaten_s", 0),
            (std::vector<std::string>{"first_eaten_s", "2", "15.00", "7.07", "-48.53", "78.53"}));
  EXPECT_EQ(Words(c.Out, "people_eaten", 1), (std::vector<std::string>{"people_eaten", "1", "4.00", "-", "-", "-"}));
  EXPECT_EQ(Words(c.Out, "alarm_share", 0),
            (std::vector<std::string>{"alarm_share", "4", "0.2500", "0.0000", "0.2500", "0.2500"}));

  const TCsvTable summary = ReadCsvFile(Path("summary.csv"));
  auto value = [&](const std::string& scenario, const std::string& result, const char* column) {
    for (const TCsvRecord& r : summary.Rows)
      if (r.Fields[summary.Column("scenario")] == scenario && r.Fields[summary.Column("result")] == result)
        return r.Fields[summary.Column(column)];
    return std::string("absent");
  };
  // t(0.975, 3) = 3.182446305, t(0.975, 1) = 12.70620474.
  EXPECT_NEAR(std::stod(value("a, with a comma.wnd", "people_eaten", "mean")), 3.0, 1e-12);
  EXPECT_NEAR(std::stod(value("a, with a comma.wnd", "people_eaten", "sd")), 2.1602468994692865, 1e-12);
  EXPECT_NEAR(std::stod(value("a, with a comma.wnd", "people_eaten", "ci95_low")), 3 - 3.4374349, 1e-6);
  EXPECT_NEAR(std::stod(value("a, with a comma.wnd", "people_eaten", "ci95_high")), 3 + 3.4374349, 1e-6);
  EXPECT_EQ(value("a, with a comma.wnd", "first_eaten_s", "runs"), "2");
  EXPECT_NEAR(std::stod(value("a, with a comma.wnd", "first_eaten_s", "ci95_high")), 15 + 63.531024, 1e-5);
  EXPECT_EQ(value("a, with a comma.wnd", "alarm_share", "sd"), "0");
  EXPECT_EQ(value("b.wnd", "people_eaten", "mean"), "4");
  EXPECT_EQ(value("b.wnd", "people_eaten", "sd"), "");
  EXPECT_EQ(value("b.wnd", "first_eaten_s", "runs"), "0");
  EXPECT_EQ(value("b.wnd", "alarm_share", "runs"), "0");
  // Every swim_hours is 7: the ratio of totals is 12/28 per swim-hour.
  EXPECT_NEAR(std::stod(value("a, with a comma.wnd", "eaten_per_1000_swim_hours_of_totals", "mean")), 12000.0 / 28,
              1e-9);
}

TEST_F(LabCommands, HeatmapIsTheMapScaledWithItsAspect) {
  const TLabCall c = Run({guarded, "--duration", "300", "--seeds", "1-4", "--out", Path("r.csv"), "--heatmap",
                          Path("deaths.png"), "--heatmap-width", "400"});
  ASSERT_EQ(c.Status, 0) << c.Err;
  const QImage picture(QString::fromStdString(Path("deaths.png")), "PNG");
  EXPECT_EQ(picture.size(), QSize(400, 600));
}

TEST_F(LabCommands, AStoppedRunSaysWhatItLeft) {
  const std::atomic<bool> stop{true};
  const std::string map = AssetFile("wendo.bmp").toStdString();
  const TLabCall shown = CallLab({"run", guarded, "--map", map}, &stop);
  EXPECT_EQ(shown.Status, 130);
  EXPECT_NE(shown.Err.find("stopped; the results table on standard output is incomplete\n"), std::string::npos)
      << shown.Err;
  const TLabCall filed = CallLab({"run", guarded, "--map", map, "--out", Path("r.csv")}, &stop);
  EXPECT_EQ(filed.Status, 130);
  EXPECT_NE(filed.Err.find("stopped; no output file was written\n"), std::string::npos) << filed.Err;
  EXPECT_EQ(Files(), QStringList());
}

TEST_F(LabCommands, BadInputIsRefusedAndNothingWritten) {
  WriteText(Path("letters.wnd"), "100\r\nabc\r\n");
  WriteText(Path("notes.bmp"), "this is no picture");
  std::string noRuns;
  AppendRecord(noRuns, RunTableHeader());
  WriteText(Path("no_runs.csv"), noRuns);
  std::vector<std::string> noEaten(RunTableHeader().size(), "7");
  noEaten[static_cast<size_t>(ParseCsv(noRuns, "").Column("people_eaten"))] = "";
  std::string noEatenTable = noRuns;
  AppendRecord(noEatenTable, noEaten);
  WriteText(Path("no_eaten.csv"), noEatenTable);
  const std::string out = Path("out.csv");
  struct TCase {
    std::vector<std::string> arguments;
    std::string message;
  };
  const std::vector<TCase> cases = {
      {{Path("none.wnd")}, "scenario \"" + Path("none.wnd") + "\": File not found"},
      {{Path("letters.wnd")}, "Invalid numeric input"},
      {{guarded, "--map", Path("none.bmp")}, "no such file"},
      {{guarded, "--map", Path("notes.bmp")}, "not a picture"},
      {{guarded, "--set", "SharkTeeth=3"}, "the parameters are SimStepMs, RefreshMs, PersonArrivalS"},
      {{guarded, "--set", "PersonMax=1,x"}, "\"x\" is not a whole number"},
      {{guarded, "--set", "PersonMax=1:9"}, "expected NAME=V1,V2,... or NAME=FROM:TO:STEP"},
      {{guarded, "--set", "PersonMax=9:1:1"}, "the range is empty"},
      {{guarded, "--set", "PersonMax=1:9:0"}, "the step is 0"},
      {{guarded, "--set", "PersonMax=99999999999"}, "not a whole number"},
      {{guarded, "--set", "PersonMax=1", "--set", "PersonMax=2"}, "given twice"},
      {{guarded, "--seeds", "9-3"}, "the range 9-3 is empty"},
      {{guarded, "--seeds", "1,,2"}, "expected seeds"},
      {{guarded, "--shard", "0/4"}, "K must be from 1 to N"},
      {{guarded, "--shard", "5/4"}, "K must be from 1 to N"},
      {{guarded, "--shard", "1-4"}, "expected K/N"},
      {{guarded, "--duration", "0"}, "expected a positive number"},
      {{guarded, "--duration", "-60"}, "expected a positive number"},
      {{guarded, "--duration", "an hour"}, "expected a positive number"},
      {{guarded, "--duration", "nan"}, "expected a positive number"},
      {{guarded, "--duration", "9999999"}, "longest time"},
      {{guarded, "--jobs", "0"}, "--jobs"},
      {{guarded, "--out", Path("no/such/folder/runs.csv")}, "does not exist"},
      {{guarded, "--series", Path("nowhere/series.csv")}, "does not exist"},
      {{guarded, "--heatmap", Path("nowhere/deaths.png")}, "does not exist"},
      {{guarded, "--out", dir.path().toStdString()}, "this is a folder"},
      {{guarded, "--series", Path("./out.csv")}, "name the same file"},
      {{guarded, "--series", Path("s.csv"), "--heatmap", Path("s.csv")}, "name the same file"},
      {{guarded, "--series", "-"}, "need file names"},
      {{guarded, "--heatmap", "-"}, "need file names"},
      {{guarded, "--every", "10"}, "--series"},
      {{guarded, "--colour", "blue"}, "--colour"},
  };
  const QStringList before = Files();
  for (const TCase& c : cases) {
    std::vector<std::string> arguments = c.arguments;
    if (std::find(arguments.begin(), arguments.end(), "--out") == arguments.end())
      arguments.insert(arguments.end(), {"--out", out});
    const TLabCall call = Run(arguments);
    SCOPED_TRACE(arguments[arguments.size() > 2 ? 1 : 0] + " " + (arguments.size() > 2 ? arguments[2] : ""));
    EXPECT_EQ(call.Status, 2) << call.Err;
    EXPECT_NE(call.Err.find(c.message), std::string::npos) << call.Err;
    EXPECT_EQ(call.Out, "");
    EXPECT_EQ(Files(), before);
  }
  // merge and summary: a missing file, a file that is no results table.
  for (const std::vector<std::string>& a :
       std::vector<std::vector<std::string>>{{"merge", Path("none.csv")},
                                             {"summary", Path("none.csv")},
                                             {"summary", Path("letters.wnd")},
                                             {"merge", Path("letters.wnd"), "--out", out},
                                             {"summary", guarded, "--csv", Path("nowhere/s.csv")},
                                             {"summary", Path("no_runs.csv"), "--csv", "-"},
                                             {"summary", Path("no_eaten.csv")}}) {
    const TLabCall call = CallLab(a);
    EXPECT_EQ(call.Status, 2) << a[0] << " " << a[1];
    EXPECT_NE(call.Err, "");
    EXPECT_EQ(Files(), before);
  }
}

}  // namespace

namespace {

// Packaging reads the version from here: it must be the project's own.
TEST(LabVersion, IsTheProjectVersion) {
  const TLabCall call = CallLab({"--version"});
  EXPECT_EQ(call.Status, 0);
  EXPECT_EQ(call.Out, "wendo-lab " WENDO_PROJECT_VERSION "\n");
}

}  // namespace
