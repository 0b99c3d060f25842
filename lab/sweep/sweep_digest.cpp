#include "sweep_digest.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>

#include "bad_input.h"

namespace wendo_lab {

namespace {

// 64-bit FNV-1a, each part preceded by its length so that parts cannot
// run into each other.
class TDigest {
 public:
  void Add(std::string_view bytes) {
    AddRaw(std::to_string(bytes.size()) + ":");
    AddRaw(bytes);
  }
  void Add(int64_t v) { Add(std::to_string(v)); }
  std::string Hex() const {
    static const char digits[] = "0123456789abcdef";
    std::string s(16, '0');
    for (int i = 0; i < 16; ++i) s[15 - i] = digits[(hash_ >> (4 * i)) & 15];
    return s;
  }

 private:
  void AddRaw(std::string_view bytes) {
    for (unsigned char c : bytes) hash_ = (hash_ ^ c) * 0x100000001b3ull;
  }
  uint64_t hash_ = 0xcbf29ce484222325ull;
};

}  // namespace

std::string SweepDigest(const TSweep& sweep, const std::vector<std::string>& scenarioTexts,
                        const std::string& mapBytes) {
  TDigest d;
  d.Add("wendo-lab " WENDO_VERSION);
  d.Add(static_cast<int64_t>(scenarioTexts.size()));
  for (const std::string& text : scenarioTexts) d.Add(text);
  d.Add(mapBytes);
  d.Add(static_cast<int64_t>(sweep.Axes.size()));
  for (const TAxis& axis : sweep.Axes) {
    d.Add(axis.Parameter);
    d.Add(static_cast<int64_t>(axis.Values.size()));
    for (int32_t v : axis.Values) d.Add(v);
  }
  d.Add(static_cast<int64_t>(sweep.Seeds.size()));
  for (uint32_t s : sweep.Seeds) d.Add(s);
  d.Add(sweep.DurationMs);
  return d.Hex();
}

std::string FileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw TBadInput(path + ": " + std::strerror(errno));
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) throw TBadInput(path + ": cannot be read");
  return bytes;
}

}  // namespace wendo_lab
