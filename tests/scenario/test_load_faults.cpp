// Load of files that cannot be read: the right text, and the world as it was.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "scenario_file.h"
#include "scenario_test_support.h"

namespace wendo_test {
namespace {

const std::string GoodFile = "1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n8\r\n9\r\n10\r\n0\r\n0\r\n";

// Loads `path` into a busy world; the error text, with " (world changed)"
// appended when the world did not stay as it was.
std::string FailedLoad(const std::string& path) {
  auto world = MakeBusyWorld();
  const TWorldState before = CaptureState(*world);
  std::string text = ErrorOf([&] { LoadScenario(*world, path); });
  if (!SameState(before, CaptureState(*world))) text += " (world changed)";
  return text;
}

TEST(LoadFaults, MissingFilesAndFolders) {
  TScratchFolder folder;
  EXPECT_EQ(FailedLoad(folder / "absent.wnd"), "File not found");
  EXPECT_EQ(FailedLoad(folder / "no-such-folder/absent.wnd"), "Invalid filename");
  WriteBytes(folder / "plain.wnd", GoodFile);
  // A file used as a folder.
  EXPECT_EQ(FailedLoad(folder / "plain.wnd/inner.wnd"), "Invalid filename");
  EXPECT_EQ(FailedLoad(""), "File not found");
}

TEST(LoadFaults, FolderGivenAsFile) {
  TScratchFolder folder;
  EXPECT_EQ(FailedLoad(folder.Path()), "I/O error 21");
}

TEST(LoadFaults, UnreadableFile) {
  TScratchFolder folder;
  const std::string path = folder / "secret.wnd";
  WriteBytes(path, GoodFile);
  ASSERT_EQ(::chmod(path.c_str(), 0200), 0);
  const auto outcome = RunInChild([&] { return FailedLoad(path); }, true);
  if (!outcome) GTEST_SKIP() << "cannot run as user nobody";
  EXPECT_EQ(*outcome, "File access denied");
  // The same file is fine for someone allowed to read it.
  ASSERT_EQ(::chmod(path.c_str(), 0644), 0);
  const auto allowed = RunInChild(
      [&] {
        TWorld world;
        const std::string error = ErrorOf([&] { LoadScenario(world, path); });
        return error + "loaded " + std::to_string(world.SharkRange);
      },
      true);
  EXPECT_EQ(allowed, "loaded 10");
}

TEST(LoadFaults, TooManyOpenFiles) {
#if defined(__SANITIZE_ADDRESS__)
  // The sanitizers test memory through pipes and report sound objects as
  // broken once every file descriptor is taken; the plain build runs this.
  GTEST_SKIP() << "not meaningful under the sanitizers";
#endif
  TScratchFolder folder;
  const std::string path = folder / "s.wnd";
  WriteBytes(path, GoodFile);
  const auto outcome = RunInChild(
      [&] {
        while (::open("/dev/null", O_RDONLY) >= 0) {
        }
        return FailedLoad(path);
      },
      false);
  ASSERT_TRUE(outcome);
  EXPECT_EQ(*outcome, "Too many open files");
}

}  // namespace
}  // namespace wendo_test
