// The New, Save and Load commands on the scenario: the ten parameters,
// the observation points and the boats of a world; and the reading of a
// scenario file on its own.
//
// Failures are TScenarioError exceptions whose text is meant for the user.
// A failed Save leaves the old file as it was; a failed Load leaves the
// world as it was.
#pragma once

#include <string>

#include "replacing_file.h"
#include "scenario_content.h"
#include "scenario_error.h"
#include "wymianadanych.h"

namespace wymianadanych {

// Puts the scenario, the people and sharks, the shark alarm and the view
// back to the start-up defaults.
void NewScenario(TWorld& world);

// Writes the world's scenario to `path`, replacing the file only once all
// of it has been written. `write` stands in for write(2) in tests.
void SaveScenario(const TWorld& world, const std::string& path, const TWriteCall& write = {});

// Reads the whole file at `path` into a scenario; no world is needed.
TScenario ReadScenarioFile(const std::string& path);

// ReadScenarioFile, then replaces the world's parameters, observation
// points and boats with what the file holds. People, sharks, the shark
// alarm and the view are never touched.
void LoadScenario(TWorld& world, const std::string& path);

}  // namespace wymianadanych
