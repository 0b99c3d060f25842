// Helpers for the scenario tests: scratch folders, whole-file reads and
// writes, a snapshot of everything Load may or may not touch, and running
// an operation as an unprivileged user.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "same_scenario.h"
#include "scenario_content.h"
#include "wymianadanych.h"

namespace wendo_test {

using namespace wymianadanych;

// A fresh folder under the system's temporary folder, readable and
// searchable by everyone, removed with everything in it at destruction.
class TScratchFolder {
 public:
  TScratchFolder();
  ~TScratchFolder();
  TScratchFolder(const TScratchFolder&) = delete;
  TScratchFolder& operator=(const TScratchFolder&) = delete;

  const std::string& Path() const { return root_; }
  std::string operator/(const std::string& name) const { return root_ + "/" + name; }
  // Names in the folder (not "." and ".."), sorted.
  std::vector<std::string> Names() const;

 private:
  std::string root_;
};

std::string ReadBytes(const std::string& path);
void WriteBytes(const std::string& path, const std::string& bytes);

// Everything of a world that the scenario commands read or change.
struct TWorldState {
  TScenario Scenario;
  std::vector<TCzlowiek> People;
  std::vector<TRekin> Sharks;
  bool SharkAlarm = false;
  int32_t ViewLeft = 0;
  int32_t ViewTop = 0;
};
TWorldState CaptureState(const TWorld& world);
bool SameState(const TWorldState& a, const TWorldState& b);

// A world with parameters, observation points, boats, people, sharks, an
// alarm and a view that differ from every default.
std::unique_ptr<TWorld> MakeBusyWorld();

// The text of the TScenarioError `action` throws, or "" when it throws none.
std::string ErrorOf(const std::function<void()>& action);

// Runs `action` in a child process and gives back its result. With
// `unprivileged` the child is held to file permissions: root, who passes
// every permission check, first drops to user and group 65534 (nobody);
// any other user already is, and runs it as itself. Empty when the child
// could not be started or could not drop its privileges.
std::optional<std::string> RunInChild(const std::function<std::string()>& action, bool unprivileged);

// Whether an unprivileged RunInChild runs as user nobody (the tests run as
// root), rather than as the user running the tests.
bool UnprivilegedIsNobody();

}  // namespace wendo_test
