// The chart's points as comma-separated text.
#pragma once

#include <string>
#include <vector>

#include "chart_history.h"

// UTF-8: a header row ("Czas (s)", the line captions and "Alarm"), then one
// row per point: the time in seconds with '.' as the decimal separator,
// every line's value, and 1 where the sighting alarm was up, else 0. Each
// row ends with a line feed. These are the chart's points: in a long run,
// older points are thinned as on the chart.
std::string ChartCsv(const std::vector<TChartSample>& samples);
