// Comma-separated tables as RFC 4180 has them: fields quoted when they hold
// a comma, a quote or a line break, records ended by CR LF, and numbers
// always with '.' as the decimal separator whatever the locale.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace wendo_lab {

// Appends one record, fields quoted where needed, and CR LF.
void AppendRecord(std::string& out, const std::vector<std::string>& fields);

// Shortest text that reads back as the same double; '.' as the separator.
std::string NumberText(double v);
// `decimals` digits after '.'.
std::string FixedText(double v, int decimals);
// Seconds for a count of milliseconds: "12.5" for 12500.
std::string SecondsText(int64_t ms);

struct TCsvRecord {
  std::vector<std::string> Fields;
  std::string Text;  // the record as it stood in the file, line end included
};

struct TCsvTable {
  std::vector<std::string> Header;
  std::vector<TCsvRecord> Rows;
  int Column(std::string_view name) const;  // -1 when absent
};

// Parses a whole file: LF or CR LF line ends, quoted fields; empty lines at
// the end are ignored. Throws TBadInput naming `fileName` and the line for
// an unclosed quote or a record whose field count differs from the
// header's.
TCsvTable ParseCsv(std::string_view text, const std::string& fileName);

// Reads and parses a file; a missing or unreadable one is a TBadInput.
TCsvTable ReadCsvFile(const std::string& path);

}  // namespace wendo_lab
