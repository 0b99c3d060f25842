// The texts a sweep is written in, read back as values: seed lists,
// parameter values and ranges, durations, and CSV records that hold
// commas, quotes and line breaks.
#include <gtest/gtest.h>

#include "bad_input.h"
#include "csv.h"
#include "value_lists.h"

using namespace wendo_lab;

namespace {

TEST(SweepText, SeedListsKeepTheirOrderAndReachTheLargestSeed) {
  EXPECT_EQ(ParseSeeds("1-3"), (std::vector<uint32_t>{1, 2, 3}));
  EXPECT_EQ(ParseSeeds("9,1,5-7,2"), (std::vector<uint32_t>{9, 1, 5, 6, 7, 2}));
  EXPECT_EQ(ParseSeeds("4294967294-4294967295"), (std::vector<uint32_t>{4294967294u, 4294967295u}));
  for (const char* bad : {"", "1-", "-3", "1-4294967296", "+1", "1 ,2", "0x10", "3-1"})
    EXPECT_THROW(ParseSeeds(bad), TBadInput) << bad;
  EXPECT_THROW(ParseSeeds("0-4294967295"), TBadInput);  // too many to hold
}

TEST(SweepText, ParameterValuesAsListsAndSteppedRanges) {
  const TAxis list = ParseSetting("SharkRange=300,-5,0");
  EXPECT_EQ(list.Parameter, 9);
  EXPECT_EQ(list.Values, (std::vector<int32_t>{300, -5, 0}));
  EXPECT_EQ(ParseSetting("SimStepMs=1:10:4").Values, (std::vector<int32_t>{1, 5, 9}));
  EXPECT_EQ(ParseSetting("PersonMax=10:-5:-5").Values, (std::vector<int32_t>{10, 5, 0, -5}));
  EXPECT_EQ(ParseSetting("PersonMax=7:7:3").Values, (std::vector<int32_t>{7}));
  EXPECT_EQ(ParseSetting("PersonMax=2147483600:2147483647:40").Values,
            (std::vector<int32_t>{2147483600, 2147483640}));  // no overflow past the top
  for (const char* bad : {"PersonMax=", "personmax=1", "PersonMax=1,", "PersonMax=1:2:3:4", "PersonMax=1.5", "=4",
                          "PersonMax=-2147483649"})
    EXPECT_THROW(ParseSetting(bad), TBadInput) << bad;
}

TEST(SweepText, DurationsToTheMillisecondAndShards) {
  EXPECT_EQ(ParseSecondsAsMs("3600", "--duration"), 3'600'000);
  EXPECT_EQ(ParseSecondsAsMs("0.25", "--duration"), 250);
  EXPECT_EQ(ParseSecondsAsMs("2147483.647", "--duration"), 2147483647);
  for (const char* bad : {"0.0004", "2147483.648", "inf", "1e3", "", "5s"})
    EXPECT_THROW(ParseSecondsAsMs(bad, "--duration"), TBadInput) << bad;
  EXPECT_EQ(ParseShard("3/8").Index, 3);
  EXPECT_EQ(ParseShard("1/1").Count, 1);
  for (const char* bad : {"0/0", "1/0", "2/1", "/4", "1/", "1/4/2"}) EXPECT_THROW(ParseShard(bad), TBadInput) << bad;
}

TEST(SweepText, CsvRecordsSurviveCommasQuotesAndLineBreaks) {
  const std::vector<std::string> header = {"run", "name"};
  const std::vector<std::string> odd = {"1", "a \"beach\", with\r\nlines"};
  std::string text;
  AppendRecord(text, header);
  AppendRecord(text, odd);
  AppendRecord(text, {"2", ""});
  EXPECT_EQ(text, "run,name\r\n1,\"a \"\"beach\"\", with\r\nlines\"\r\n2,\r\n");
  const TCsvTable table = ParseCsv(text, "t.csv");
  EXPECT_EQ(table.Header, header);
  ASSERT_EQ(table.Rows.size(), 2u);
  EXPECT_EQ(table.Rows[0].Fields, odd);
  EXPECT_EQ(table.Rows[0].Text + table.Rows[1].Text, text.substr(10));
  // Lines ended by LF alone read the same; an unclosed quote or a short
  // record is refused with the line it starts on.
  EXPECT_EQ(ParseCsv("run,name\n3,x\n", "t.csv").Rows[0].Fields, (std::vector<std::string>{"3", "x"}));
  // Empty lines at the end are no records; one amid the records is short.
  EXPECT_EQ(ParseCsv("run,name\r\n3,x\r\n\r\n\n", "t.csv").Rows.size(), 1u);
  EXPECT_THROW(ParseCsv("run,name\r\n\r\n3,x\r\n", "t.csv"), TBadInput);
  EXPECT_THROW(ParseCsv("run,name\n3,\"x\n", "t.csv"), TBadInput);
  try {
    ParseCsv("run,name\r\n1,a\r\n2\r\n", "t.csv");
    ADD_FAILURE();
  } catch (const TBadInput& e) {
    EXPECT_NE(std::string(e.what()).find("line 3"), std::string::npos) << e.what();
  }
  EXPECT_EQ(NumberText(0.1), "0.1");
  EXPECT_EQ(SecondsText(3599943), "3599.943");
  EXPECT_EQ(SecondsText(120500), "120.5");
}

}  // namespace
