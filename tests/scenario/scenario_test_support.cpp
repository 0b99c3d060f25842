#include "scenario_test_support.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <grp.h>
#include <iterator>
#include <stdexcept>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "scenario_error.h"
#include "world_fixture.h"

namespace wendo_test {

TScratchFolder::TScratchFolder() {
  const char* base = std::getenv("TMPDIR");
  std::string pattern = std::string(base && *base ? base : "/tmp") + "/wendo-scenario-XXXXXX";
  if (!::mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
  root_ = pattern;
  ::chmod(root_.c_str(), 0755);
}

TScratchFolder::~TScratchFolder() {
  std::error_code ignored;
  // Read-only folders made by a test must become writable to be removed.
  for (auto it = std::filesystem::recursive_directory_iterator(root_, ignored);
       it != std::filesystem::recursive_directory_iterator(); it.increment(ignored))
    if (it->is_directory(ignored) && !it->is_symlink(ignored)) ::chmod(it->path().c_str(), 0755);
  std::filesystem::remove_all(root_, ignored);
}

std::vector<std::string> TScratchFolder::Names() const {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(root_)) names.push_back(entry.path().filename());
  std::sort(names.begin(), names.end());
  return names;
}

std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + path);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteBytes(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
  if (!out.flush()) throw std::runtime_error("cannot write " + path);
}

TWorldState CaptureState(const TWorld& world) {
  TWorldState s;
  s.Scenario = TakeScenario(world);
  s.People = world.People;
  s.Sharks = world.Sharks;
  s.SharkAlarm = world.SharkAlarm;
  s.ViewLeft = world.ViewLeft;
  s.ViewTop = world.ViewTop;
  return s;
}

bool SameState(const TWorldState& a, const TWorldState& b) {
  auto samePerson = [](const TCzlowiek& p, const TCzlowiek& q) { return p.X == q.X && p.Y == q.Y && p.Dead == q.Dead; };
  auto sameShark = [](const TRekin& p, const TRekin& q) {
    return p.X == q.X && p.Y == q.Y && p.Dead == q.Dead && p.LastSeenStep == q.LastSeenStep;
  };
  return SameScenario(a.Scenario, b.Scenario) &&
         std::equal(a.People.begin(), a.People.end(), b.People.begin(), b.People.end(), samePerson) &&
         std::equal(a.Sharks.begin(), a.Sharks.end(), b.Sharks.begin(), b.Sharks.end(), sameShark) &&
         a.SharkAlarm == b.SharkAlarm && a.ViewLeft == b.ViewLeft && a.ViewTop == b.ViewTop;
}

std::unique_ptr<TWorld> MakeBusyWorld() {
  auto w = std::make_unique<TWorld>();
  w->SimStepMs = 7;
  w->RefreshMs = 70;
  w->PersonArrivalS = 1;
  w->PersonMax = 2;
  w->PersonSpeed = 3;
  w->PersonRange = 4;
  w->SharkArrivalS = 5;
  w->SharkMax = 6;
  w->SharkSpeed = 8;
  w->SharkRange = 9;
  AddObserver(*w, 11, 12, 13);
  AddObserver(*w, 21, 22, 23);
  TLodz& b = AddBoat(*w, 33, 34, 35, 36, 38, 37);
  b.X = 31, b.Y = 32, b.Outbound = false;  // away from its home, heading back
  AddPerson(*w, 41, 42, /*dead=*/true);
  AddShark(*w, 51, 52, /*dead=*/false, /*lastSeen=*/53);
  w->SharkAlarm = true;
  w->ViewLeft = 60;
  w->ViewTop = 61;
  return w;
}

std::string ErrorOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const TScenarioError& e) {
    return e.what();
  }
  return "";
}

bool UnprivilegedIsNobody() { return ::geteuid() == 0; }

std::optional<std::string> RunInChild(const std::function<std::string()>& action, bool unprivileged) {
  const bool dropToNobody = unprivileged && UnprivilegedIsNobody();
  int fds[2];
  if (::pipe(fds) != 0) return std::nullopt;
  const pid_t child = ::fork();
  if (child < 0) {
    ::close(fds[0]);
    ::close(fds[1]);
    return std::nullopt;
  }
  if (child == 0) {
    ::close(fds[0]);
    // A leading byte tells the parent whether the drop worked.
    const bool dropped = !dropToNobody || (::setgroups(0, nullptr) == 0 && ::setgid(65534) == 0 &&
                                       ::setuid(65534) == 0 && ::geteuid() == 65534);
    std::string report = dropped ? "+" : "-";
    if (dropped) {
      try {
        report += action();
      } catch (const std::exception& e) {
        report += std::string("unexpected exception: ") + e.what();
      }
    }
    const char* p = report.data();
    size_t left = report.size();
    while (left > 0) {
      const ssize_t n = ::write(fds[1], p, left);
      if (n <= 0) break;
      p += n;
      left -= static_cast<size_t>(n);
    }
    ::_exit(0);
  }
  ::close(fds[1]);
  std::string report;
  char chunk[256];
  ssize_t n;
  while ((n = ::read(fds[0], chunk, sizeof chunk)) > 0) report.append(chunk, static_cast<size_t>(n));
  ::close(fds[0]);
  int status = 0;
  ::waitpid(child, &status, 0);
  if (report.empty() || report[0] != '+') return std::nullopt;
  return report.substr(1);
}

}  // namespace wendo_test
