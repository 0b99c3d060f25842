// Files and helpers shared by the tests of wendo-lab.
#pragma once

#include <QString>
#include <atomic>
#include <string>
#include <vector>

namespace wendo_lab_test {

std::string ExampleFile(const std::string& name);  // in examples/
QString AssetFile(const std::string& name);        // in assets/

// "" when equal, otherwise the first differing line of each.
std::string FirstDifference(const std::string& a, const std::string& b);

std::string ReadText(const std::string& path);
void WriteText(const std::string& path, const std::string& text);

// wendo-lab run in this process, with the given arguments after the
// program name; no terminal, stopped only by `stop`.
struct TLabCall {
  int Status = -1;
  std::string Out;
  std::string Err;
};
TLabCall CallLab(const std::vector<std::string>& arguments, const std::atomic<bool>* stop = nullptr);

}  // namespace wendo_lab_test

using namespace wendo_lab_test;
