#include "merge_shards.h"

#include <algorithm>
#include <charconv>
#include <map>

#include "bad_input.h"
#include "csv.h"

namespace wendo_lab {

namespace {

struct TRow {
  int64_t Run;
  size_t File;
  const std::string* Text;
};

}  // namespace

std::string MergeShardFiles(const std::vector<std::string>& paths) {
  if (paths.empty()) throw TBadInput("no file to merge");
  std::vector<TCsvTable> tables;
  for (const std::string& path : paths) tables.push_back(ReadCsvFile(path));
  std::vector<TRow> rows;
  std::map<int64_t, size_t> fileOfRun;
  for (size_t f = 0; f < tables.size(); ++f) {
    const TCsvTable& t = tables[f];
    if (t.Header.empty() || t.Header[0] != "run")
      throw TBadInput(paths[f] + ": the first column is not \"run\"; not a wendo-lab output");
    if (t.Header != tables[0].Header) throw TBadInput(paths[f] + " and " + paths[0] + " have different columns");
    for (const TCsvRecord& r : t.Rows) {
      const std::string& field = r.Fields[0];
      int64_t run = 0;
      const auto [end, ec] = std::from_chars(field.data(), field.data() + field.size(), run);
      if (ec != std::errc() || end != field.data() + field.size() || run < 1)
        throw TBadInput(paths[f] + ": \"" + field + "\" is not a run number");
      const auto [at, fresh] = fileOfRun.emplace(run, f);
      if (!fresh && at->second != f)
        throw TBadInput("run " + field + " is in both " + paths[at->second] + " and " + paths[f]);
      rows.push_back({run, f, &r.Text});
    }
  }
  // A series file holds several rows per run, in time order: kept as they are.
  std::stable_sort(rows.begin(), rows.end(), [](const TRow& a, const TRow& b) { return a.Run < b.Run; });
  int64_t expected = 1;
  for (const auto& [run, file] : fileOfRun) {
    if (run != expected)
      throw TBadInput("runs " + std::to_string(expected) + " to " + std::to_string(run - 1) +
                      " are in none of the files (is a shard missing?)");
    expected = run + 1;
  }
  std::string out;
  AppendRecord(out, tables[0].Header);
  for (const TRow& r : rows) out += *r.Text;
  return out;
}

}  // namespace wendo_lab
