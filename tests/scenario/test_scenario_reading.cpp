// How Load reads tokens and lines: truncation, separators, line ends,
// Ctrl-Z, number forms, long tokens and refused values.
#include <gtest/gtest.h>

#include <string>

#include "scenario_file.h"
#include "scenario_test_support.h"

namespace wendo_test {
namespace {

class ScenarioReading : public ::testing::Test {
 protected:
  // Loads `bytes` into `world`; the error text, or "" on success.
  std::string Load(TWorld& world, const std::string& bytes) {
    const std::string path = Folder / "read.wnd";
    WriteBytes(path, bytes);
    return ErrorOf([&] { LoadScenario(world, path); });
  }

  // Loads `bytes` into a fresh world and gives back its scenario.
  TScenario Loaded(const std::string& bytes) {
    TWorld world;
    const std::string error = Load(world, bytes);
    EXPECT_EQ(error, "") << "loading " << ::testing::PrintToString(bytes);
    return TakeScenario(world);
  }

  // Loading `bytes` into a busy world must fail with `text` and change nothing.
  void ExpectRefused(const std::string& bytes, const std::string& text) {
    auto world = MakeBusyWorld();
    const TWorldState before = CaptureState(*world);
    EXPECT_EQ(Load(*world, bytes), text) << "loading " << ::testing::PrintToString(bytes);
    EXPECT_TRUE(SameState(before, CaptureState(*world))) << "loading " << ::testing::PrintToString(bytes);
  }

  TScratchFolder Folder;
};

const std::string TenParameters = "1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n8\r\n9\r\n10\r\n";

TEST_F(ScenarioReading, TruncatedFilesLoadZerosForWhatIsMissing) {
  auto world = MakeBusyWorld();
  const TWorldState before = CaptureState(*world);
  EXPECT_EQ(Load(*world, ""), "");
  const TScenario empty = TakeScenario(*world);
  for (int32_t p : empty.Parameters) EXPECT_EQ(p, 0);
  EXPECT_TRUE(empty.Observers.empty());
  EXPECT_TRUE(empty.Boats.empty());
  EXPECT_EQ(world->People.size(), before.People.size());
  EXPECT_EQ(world->Sharks.size(), before.Sharks.size());
  EXPECT_TRUE(world->SharkAlarm);
  EXPECT_EQ(world->ViewLeft, 60);

  // Ends after the third parameter, in the middle of its line.
  const TScenario three = Loaded("1\r\n2\r\n3");
  EXPECT_EQ(three.Parameters[2], 3);
  EXPECT_EQ(three.Parameters[3], 0);

  // Two observation points announced, one given: the second is all zero.
  const TScenario two = Loaded(TenParameters + "2\r\n250 400 120\r\n");
  ASSERT_EQ(two.Observers.size(), 2u);
  EXPECT_EQ(two.Observers[0].Range, 120);
  EXPECT_EQ(two.Observers[1].X, 0);
  EXPECT_EQ(two.Observers[1].Y, 0);
  EXPECT_EQ(two.Observers[1].Range, 0);
  EXPECT_TRUE(two.Boats.empty());

  // A boat cut short keeps zeros but still starts at its home, heading out.
  const TScenario boats = Loaded(TenParameters + "0\r\n3\r\n1 2 3 4 5 6\r\n7 8 9");
  ASSERT_EQ(boats.Boats.size(), 3u);
  EXPECT_EQ(boats.Boats[1].HomeX, 7);
  EXPECT_EQ(boats.Boats[1].PatrolX, 9);
  EXPECT_EQ(boats.Boats[1].PatrolY, 0);
  EXPECT_EQ(boats.Boats[1].X, 7);
  EXPECT_EQ(boats.Boats[1].Y, 8);
  for (const TLodz& b : boats.Boats) EXPECT_TRUE(b.Outbound);
  EXPECT_EQ(boats.Boats[2].HomeX, 0);

  // The largest count is allowed and a truncated list fills up with zeros.
  const TScenario many = Loaded(TenParameters + "1000000\r\n");
  ASSERT_EQ(many.Observers.size(), 1000000u);
  EXPECT_EQ(many.Observers.back().Range, 0);
}

TEST_F(ScenarioReading, LineEndsSeparatorsAndExtraValues) {
  const std::string saved = TenParameters + "2\r\n250 400 120\r\n-1 -2 -3\r\n1\r\n100 200 300 400 25 150\r\n";
  const TScenario reference = Loaded(saved);
  ASSERT_EQ(reference.Boats.size(), 1u);

  std::string lfOnly;
  std::string extra;
  std::string oddBlanks;
  for (char c : saved) {
    if (c == '\r') continue;
    if (c == '\n') extra += " 99 x -7\r";  // ignored: the rest of the line is skipped unread
    lfOnly += c;
    extra += c;
    oddBlanks += c == ' ' ? std::string("\t \x01\x1f") : std::string(1, c);
  }
  EXPECT_TRUE(SameScenario(reference, Loaded(lfOnly)));
  EXPECT_TRUE(SameScenario(reference, Loaded(extra)));
  EXPECT_TRUE(SameScenario(reference, Loaded(oddBlanks)));
  // Blank lines and leading blanks are skipped on the way to a value.
  EXPECT_EQ(Loaded("\r\n\r\n  \t 42\r\n").Parameters[0], 42);

  // A line with too few values takes the rest from the next line, and the
  // skip after the last of them discards the remainder of that line.
  const TScenario short_ = Loaded(TenParameters + "2\r\n10 20\r\n30 31 32\r\n40 50 60\r\n0\r\n");
  ASSERT_EQ(short_.Observers.size(), 2u);
  EXPECT_EQ(short_.Observers[0].Range, 30);
  EXPECT_EQ(short_.Observers[1].X, 40);

  // Anything after the last boat's line is never read.
  EXPECT_TRUE(SameScenario(reference, Loaded(saved + "garbage 2147483648\r\n")));
}

TEST_F(ScenarioReading, LoneCrIsAnOrdinaryCharacter) {
  // The CR separates tokens but does not end the line, so the skip after
  // the first value discards "2" as well.
  const TScenario s = Loaded("1\r2\r\n3\r\n");
  EXPECT_EQ(s.Parameters[0], 1);
  EXPECT_EQ(s.Parameters[1], 3);
  EXPECT_EQ(s.Parameters[2], 0);
}

TEST_F(ScenarioReading, CtrlZEndsTheFile) {
  const TScenario s = Loaded("5\r\n6\x1a\r\n7\r\n");
  EXPECT_EQ(s.Parameters[0], 5);
  EXPECT_EQ(s.Parameters[1], 6);
  EXPECT_EQ(s.Parameters[2], 0);
  // Inside a token it cuts the token.
  EXPECT_EQ(Loaded("12\x1a" "34\r\n").Parameters[0], 12);
  // Before a count: an empty list, and a letter after it is never read.
  EXPECT_TRUE(Loaded(TenParameters + "\x1a" "3\r\nx\r\n").Observers.empty());
}

TEST_F(ScenarioReading, NumberForms) {
  const TScenario s = Loaded("$1F\r\n0x1F\r\n0X1f\r\n+7\r\n-$10\r\n2147483647\r\n-2147483648\r\n007\r\n-0\r\n$7FFFFFFF\r\n");
  const int32_t expected[] = {31, 31, 31, 7, -16, 2147483647, -2147483647 - 1, 7, 0, 2147483647};
  for (int i = 0; i < ParameterCount; ++i) EXPECT_EQ(s.Parameters[i], expected[i]) << "line " << i + 1;

  for (const char* bad : {"2147483648", "-2147483649", "$80000000", "abc", "12a", "1.5", "--1", "+", "$", "0x",
                          "\xc3\xb3", "1,000"})
    ExpectRefused(std::string(bad) + "\r\n", InvalidNumberText);
}

TEST_F(ScenarioReading, TokensStopAfterThirtyTwoCharacters) {
  const std::string zeros31(31, '0');
  // The 33rd character is left for the next read: X = 7, Y = 9.
  const TScenario split = Loaded(TenParameters + "1\r\n" + zeros31 + "79 5\r\n0\r\n");
  ASSERT_EQ(split.Observers.size(), 1u);
  EXPECT_EQ(split.Observers[0].X, 7);
  EXPECT_EQ(split.Observers[0].Y, 9);
  EXPECT_EQ(split.Observers[0].Range, 5);
  // For a parameter the rest of a long token is skipped with its line.
  const TScenario param = Loaded(zeros31 + "42\r\n8\r\n");
  EXPECT_EQ(param.Parameters[0], 4);
  EXPECT_EQ(param.Parameters[1], 8);
  // A 33-digit number splits into a first part that is too large.
  ExpectRefused("1" + std::string(32, '0') + "\r\n", InvalidNumberText);
  // A long run of letters fails on its first part.
  ExpectRefused(std::string(100, 'z'), InvalidNumberText);
}

TEST_F(ScenarioReading, TokensAcrossTheReadBuffer) {
  // A token that straddles the reader's 64 KiB buffer is read whole.
  const std::string padding(64 * 1024 - 2, ' ');
  const TScenario s = Loaded(padding + "12345\r\n6\r\n");
  EXPECT_EQ(s.Parameters[0], 12345);
  EXPECT_EQ(s.Parameters[1], 6);
  // And a skipped line longer than the buffer.
  const TScenario skipped = Loaded("1 " + std::string(200000, 'x') + "\r\n2\r\n");
  EXPECT_EQ(skipped.Parameters[0], 1);
  EXPECT_EQ(skipped.Parameters[1], 2);
}

TEST_F(ScenarioReading, BadValuesLeaveTheWorldAsItWas) {
  ExpectRefused("1\r\n2\r\nx\r\n", InvalidNumberText);
  ExpectRefused(TenParameters + "2\r\n1 2 3\r\n4 five 6\r\n0\r\n", InvalidNumberText);
  ExpectRefused(TenParameters + "0\r\n1\r\n1 2 3 4 5 !\r\n", InvalidNumberText);
  ExpectRefused(TenParameters + "-1\r\n", RangeCheckText);
  ExpectRefused(TenParameters + "1\r\n1 2 3\r\n-2147483648\r\n", RangeCheckText);
  ExpectRefused(TenParameters + "1000001\r\n", OutOfMemoryText);
  ExpectRefused(TenParameters + "0\r\n2147483647\r\n", OutOfMemoryText);
}

TEST_F(ScenarioReading, AFileIsReadWithoutAWorldAsLoadPutsIt) {
  const std::string bytes = TenParameters + "1\r\n1 2 3\r\n1\r\n4 5 6 7 8 9\r\n";
  WriteBytes(Folder / "alone.wnd", bytes);
  const TScenario read = ReadScenarioFile(Folder / "alone.wnd");
  EXPECT_TRUE(SameScenario(read, Loaded(bytes)));
  ASSERT_EQ(read.Boats.size(), 1u);
  EXPECT_EQ(read.Boats[0].Y, 5);  // at its home, heading out
  EXPECT_TRUE(read.Boats[0].Outbound);
  WriteBytes(Folder / "bad.wnd", "1\r\nx\r\n");
  EXPECT_EQ(ErrorOf([&] { ReadScenarioFile(Folder / "bad.wnd"); }), InvalidNumberText);
}

}  // namespace
}  // namespace wendo_test
