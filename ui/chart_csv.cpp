#include "chart_csv.h"

#include "wymianadanych.h"

std::string ChartCsv(const std::vector<TChartSample>& samples) {
  std::string text = "Czas (s)";
  for (const TChartLine& line : ChartLines) text += std::string(",") + line.Caption;
  text += ",Alarm\n";
  for (const TChartSample& s : samples) {
    text += wymianadanych::FormatGeneral(s.ElapsedMs / 1000.0, ".");
    for (const TChartLine& line : ChartLines) text += "," + wymianadanych::IntToStr(s.*line.Value);
    text += s.Alarm ? ",1\n" : ",0\n";
  }
  return text;
}
