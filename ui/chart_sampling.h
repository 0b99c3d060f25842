// Reading the chart's counters from the world.
#pragma once

#include "chart_history.h"
#include "wymianadanych.h"

// The counters, the alarm and the number of live people on a water cell,
// all read under the world's lock, so they come from one moment of the run.
TChartSample ReadChartSample(const wymianadanych::TWorld& world);
