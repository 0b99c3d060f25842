// The chart's points as comma-separated text.
#pragma once

#include <string>
#include <vector>

#include "chart_history.h"

// UTF-8: a header row ("Czas (s)" and the line captions), then one row per
// point: the time in seconds with '.' as the decimal separator, and every
// line's value. Each row ends with a line feed.
std::string ChartCsv(const std::vector<TChartSample>& samples);
