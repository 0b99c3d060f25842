#include "lab_test_support.h"

#include <fstream>
#include <iterator>
#include <sstream>

#include "lab_cli.h"

namespace wendo_lab_test {

std::string ExampleFile(const std::string& name) { return std::string(WENDO_SOURCE_DIR "/examples/") + name; }

QString AssetFile(const std::string& name) {
  return QString::fromStdString(std::string(WENDO_SOURCE_DIR "/assets/") + name);
}

std::string FirstDifference(const std::string& a, const std::string& b) {
  if (a == b) return "";
  std::istringstream sa(a), sb(b);
  std::string la, lb;
  for (int line = 1;; ++line) {
    const bool ga = static_cast<bool>(std::getline(sa, la)), gb = static_cast<bool>(std::getline(sb, lb));
    if (!ga || !gb || la != lb)
      return "line " + std::to_string(line) + ": '" + (ga ? la : "(end)") + "' against '" + (gb ? lb : "(end)") + "'";
  }
}

std::string ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void WriteText(const std::string& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary);
  out << text;
}

TLabCall CallLab(const std::vector<std::string>& arguments, const std::atomic<bool>* stop) {
  std::vector<const char*> argv = {"wendo-lab"};
  for (const std::string& a : arguments) argv.push_back(a.c_str());
  argv.push_back(nullptr);
  std::ostringstream out, err;
  TLabCall call;
  call.Status = wendo_lab::LabMain(static_cast<int>(argv.size()) - 1, argv.data(), {out, err, false, stop});
  call.Out = out.str();
  call.Err = err.str();
  return call;
}

}  // namespace wendo_lab_test
