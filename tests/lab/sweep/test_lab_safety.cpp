// What wendo-lab must never do, grouped by subcommand: replace an input,
// hold every run in memory, trust shards, call a lost write a success,
// refuse a pipe, run on a broken map, speak in error numbers, or read an
// empty scenario without a word.
#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QTemporaryDir>
#include <filesystem>
#include <map>
#include <mutex>

#include "csv.h"
#include "lab_support.h"
#include "lab_test_support.h"
#include "shared_options.h"
#include "sweep_runner.h"

using namespace wendo_lab;

namespace {

class LabSafety : public ::testing::Test {
 protected:
  std::string Path(const std::string& name) const {
    return QDir(dir.path()).filePath(QString::fromStdString(name)).toStdString();
  }
  QStringList Files() const {
    return QDir(dir.path()).entryList(QDir::Files | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
  }
  TLabCall Run(std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), "run");
    if (std::find(arguments.begin(), arguments.end(), "--map") == arguments.end())
      arguments.insert(arguments.end(), {"--map", map});
    return CallLab(arguments);
  }
  // Status 2, the message, and every file as it was.
  void ExpectRefused(const TLabCall& call, const std::string& message) {
    EXPECT_EQ(call.Status, 2) << call.Err;
    EXPECT_NE(call.Err.find(message), std::string::npos) << call.Err;
  }

  QTemporaryDir dir;
  const std::string map = AssetFile("wendo.bmp").toStdString();
  const std::string light = ExampleFile("two_posts_one_boat.wnd");
};

TEST_F(LabSafety, RunNeverReplacesAnInputNorAnotherOutputThroughALink) {
  const std::string scenario = Path("sc.wnd"), mapCopy = Path("map.bmp");
  WriteText(scenario, ReadText(light));
  std::filesystem::copy_file(map, mapCopy);
  std::filesystem::create_symlink("target.csv", Path("link.csv"));  // dangling until target.csv is written
  WriteText(Path("v.csv"), "run,x\r\n1,2\r\n");
  const QStringList before = Files();
  ExpectRefused(Run({scenario, "--duration", "10", "--out", scenario}), "an output never replaces an input");
  ExpectRefused(Run({light, "--duration", "10", "--map", mapCopy, "--heatmap", mapCopy}), "never replaces an input");
  ExpectRefused(Run({light, "--duration", "10", "--out", Path("link.csv"), "--series", Path("target.csv")}),
                "name the same file");
  ExpectRefused(CallLab({"summary", Path("v.csv"), "--csv", Path("v.csv")}), "never replaces an input");
  ExpectRefused(CallLab({"merge", Path("v.csv"), "--out", Path("./v.csv")}), "never replaces an input");
  ExpectRefused(CallLab({"optimize", scenario, "--map", map, "--observers", "1", "--out", scenario}),
                "never replaces an input");
  EXPECT_EQ(Files(), before);
  EXPECT_EQ(ReadText(scenario), ReadText(light));
  EXPECT_EQ(ReadText(Path("v.csv")), "run,x\r\n1,2\r\n");
}

// A run starts only when its result fits the window of undelivered runs:
// with the delivery held up, the runs finished ahead of it stay within it.
TEST_F(LabSafety, RunHoldsAtMostTheWindowOfFinishedRuns) {
  TSweep sweep;
  sweep.Scenarios.push_back(ReadScenarioSetup(light));
  for (uint32_t s = 1; s <= 3000; ++s) sweep.Seeds.push_back(s);
  sweep.DurationMs = 2000;  // a few steps each
  const TShardRuns runs = ShardRuns(sweep.RunCount(), {});
  std::mutex lock;
  std::map<std::thread::id, uint32_t> lastTick;
  int64_t started = 0, delivered = 0, mostAhead = 0;
  TSweepJobs work;
  work.Jobs = 2;
  work.Run.Watch = [&](const wymianadanych::TWorld&, uint32_t now, unsigned, const std::vector<std::string>&) {
    std::lock_guard<std::mutex> guard(lock);
    auto [at, fresh] = lastTick.emplace(std::this_thread::get_id(), now);
    if (fresh || now < at->second) ++started;  // the clock went back: a new run
    at->second = now;
  };
  work.Deliver = [&](const TSweepRun&, TRunResult&&) {
    if (delivered == 0) std::this_thread::sleep_for(std::chrono::milliseconds(500));
    std::lock_guard<std::mutex> guard(lock);
    mostAhead = std::max(mostAhead, started - delivered);
    ++delivered;
  };
  ASSERT_TRUE(RunSweep(sweep, runs, ReadMap(map), work));
  EXPECT_EQ(delivered, 3000);
  EXPECT_GT(mostAhead, WindowPerJob);  // the jobs did run ahead while the first delivery waited
  EXPECT_LE(mostAhead, 2 * WindowPerJob + 2);
}

TEST_F(LabSafety, RunRefusesJobsAboveTheCeilingNamingIt) {
  const TLabCall call = Run({light, "--jobs", "100000", "--out", Path("r.csv")});
  ExpectRefused(call, "expected a whole number from 1 to " + std::to_string(MostJobs()) + " (8 per core");
  EXPECT_EQ(Files(), QStringList());
}

TEST_F(LabSafety, MergeRefusesShardsOfOtherSweepsDuplicatesAndMissingRuns) {
  auto shard = [&](const std::string& name, const std::string& duration, const std::string& k) {
    const TLabCall c = Run({light, "--duration", duration, "--seeds", "1-6", "--shard", k + "/2", "--out", Path(name),
                            "--series", Path("s" + name), "--every", "20"});
    ASSERT_EQ(c.Status, 0) << c.Err;
  };
  shard("a1.csv", "60", "1");
  shard("a2.csv", "60", "2");
  shard("b2.csv", "30", "2");
  const TLabCall whole = Run({light, "--duration", "60", "--seeds", "1-6"});
  const TLabCall merged = CallLab({"merge", Path("a2.csv"), Path("a1.csv")});
  ASSERT_EQ(merged.Status, 0) << merged.Err;
  EXPECT_EQ(FirstDifference(merged.Out, whole.Out), "");

  ExpectRefused(CallLab({"merge", Path("a1.csv"), Path("b2.csv")}), Path("b2.csv") + ", line 2: run 2 belongs to another sweep");
  // A row given twice within a shard, and a shard cut at a row boundary.
  const TCsvTable a2 = ReadCsvFile(Path("a2.csv"));
  std::string doubled, cut;
  AppendRecord(doubled, a2.Header);
  cut = doubled;
  for (size_t i = 0; i < a2.Rows.size(); ++i) {
    doubled += a2.Rows[i].Text + (i == 1 ? a2.Rows[i].Text : "");
    if (i + 1 < a2.Rows.size()) cut += a2.Rows[i].Text;
  }
  WriteText(Path("doubled.csv"), doubled);
  WriteText(Path("cut.csv"), cut);
  ExpectRefused(CallLab({"merge", Path("a1.csv"), Path("doubled.csv")}), Path("doubled.csv") + ", line 4: run 4 is in both");
  ExpectRefused(CallLab({"merge", Path("a1.csv"), Path("cut.csv"), "--out", Path("m.csv")}), "run 6 is in none of the files");
  EXPECT_FALSE(QFile::exists(QString::fromStdString(Path("m.csv"))));

  // Series shards are checked alike, and every run must hold all its samples.
  ASSERT_EQ(CallLab({"merge", Path("sa1.csv"), Path("sa2.csv")}).Status, 0);
  ExpectRefused(CallLab({"merge", Path("sa1.csv"), Path("sb2.csv")}), "belongs to another sweep");
  const std::string series = ReadText(Path("sa2.csv"));
  WriteText(Path("scut.csv"), series.substr(0, series.rfind("\r\n", series.size() - 3) + 2));  // the last sample cut
  ExpectRefused(CallLab({"merge", Path("sa1.csv"), Path("scut.csv")}),
                "run 6 has 3 samples from 0 to 40 s, but run 1 (" + Path("sa1.csv") + ", line 2) has 4 samples");
}

TEST_F(LabSafety, RunWritesAFailureAndPipesDirectly) {
  const TLabCall full = Run({light, "--duration", "10", "--seeds", "1-3", "--out", "/dev/full"});
  EXPECT_EQ(full.Status, 1);
  EXPECT_NE(full.Err.find("cannot write --out /dev/full: No space left on device"), std::string::npos) << full.Err;
  // A heatmap that cannot be written takes the set with it, and says so.
  const TLabCall heatmap =
      Run({light, "--duration", "10", "--seeds", "1-3", "--out", Path("r.csv"), "--heatmap", "/dev/full"});
  EXPECT_EQ(heatmap.Status, 1);
  EXPECT_NE(heatmap.Err.find("the outputs are one set, so no output file was written"), std::string::npos)
      << heatmap.Err;
  EXPECT_EQ(Files(), QStringList());
}

TEST_F(LabSafety, RunRefusesAMapCutShortOrOfAnotherSize) {
  WriteText(Path("cut.bmp"), ReadText(map).substr(0, 100000));
  QImage turned(1200, 800, QImage::Format_RGB32);
  turned.fill(Qt::blue);
  turned.save(QString::fromStdString(Path("turned.bmp")), "BMP");
  ExpectRefused(Run({light, "--map", Path("cut.bmp")}), "the file is cut short");
  ExpectRefused(Run({light, "--map", Path("turned.bmp")}), "1200 × 800 pixels; a map is 800 × 1200");
}

TEST_F(LabSafety, CommandsSpeakTheSystemsWordsAndReadWhatTheyShould) {
  std::filesystem::create_directory(Path("folder"));
  ExpectRefused(Run({Path("folder")}), "scenario \"" + Path("folder") + "\": Is a directory");
  ExpectRefused(CallLab({"merge", Path("folder")}), Path("folder") + ": Is a directory");
  ExpectRefused(CallLab({"summary", Path("folder")}), Path("folder") + ": Is a directory");
  ExpectRefused(Run({light, "--duration", "1e3"}), "not a whole number of seconds");

  // A byte-order mark at the start is no part of the first column's name.
  const TLabCall runs = Run({light, "--duration", "20", "--seeds", "1-4", "--out", Path("r.csv")});
  ASSERT_EQ(runs.Status, 0) << runs.Err;
  WriteText(Path("bom.csv"), "\xEF\xBB\xBF" + ReadText(Path("r.csv")));
  const TLabCall plain = CallLab({"summary", Path("r.csv")}), marked = CallLab({"summary", Path("bom.csv")});
  ASSERT_EQ(marked.Status, 0) << marked.Err;
  EXPECT_EQ(marked.Out, plain.Out);
  EXPECT_NE(plain.Out.find("(4 runs)"), std::string::npos) << plain.Out;

  // Values whose sum, or that themselves, a double cannot hold.
  const TCsvTable table = ReadCsvFile(Path("r.csv"));
  const size_t eaten = static_cast<size_t>(table.Column("people_eaten"));
  for (const char* value : {"1e308", "1e999"}) {
    std::string text;
    AppendRecord(text, table.Header);
    for (const TCsvRecord& r : table.Rows) {
      std::vector<std::string> f = r.Fields;
      f[eaten] = value;
      AppendRecord(text, f);
    }
    WriteText(Path("huge.csv"), text);
    const TLabCall huge = CallLab({"summary", Path("huge.csv")});
    EXPECT_EQ(huge.Status, 2) << value << huge.Out;
    EXPECT_EQ(huge.Out.find("inf"), std::string::npos) << huge.Out;
  }
}

TEST_F(LabSafety, RunAndOptimizeWarnOfAnEmptyScenarioAndRunItWithZeros) {
  WriteText(Path("empty.wnd"), "");
  const TLabCall call = Run({Path("empty.wnd"), "--duration", "10", "--seeds", "1"});
  ASSERT_EQ(call.Status, 0) << call.Err;
  EXPECT_NE(call.Err.find("warning: scenario \"" + Path("empty.wnd") + "\" is empty"), std::string::npos) << call.Err;
  const TCsvTable table = ParseCsv(call.Out, "out");
  ASSERT_EQ(table.Rows.size(), 1u);
  for (const char* c : {"sim_step_ms", "person_max", "shark_range", "observers", "boats"})
    EXPECT_EQ(table.Rows[0].Fields[static_cast<size_t>(table.Column(c))], "0") << c;
  const TLabCall advice = CallLab({"optimize", Path("empty.wnd"), "--map", map, "--observers", "1", "--duration", "10",
                                   "--seeds", "1", "--budget", "2", "--out", Path("best.wnd")});
  EXPECT_NE(advice.Err.find("warning: scenario \"" + Path("empty.wnd") + "\" is empty"), std::string::npos)
      << advice.Err;
}

}  // namespace
