// Comma-separated tables as RFC 4180 has them: fields quoted when they hold
// a comma, a quote or a line break, records ended by CR LF, and numbers
// always with '.' as the decimal separator whatever the locale.
#pragma once

#include <atomic>
#include <cstdint>
#include <deque>
#include <memory>
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

// Reads a table record by record, so that memory does not grow with the
// file: from a file (a missing one, a folder or an unreadable one is a
// TBadInput with the system's own words and the path) or from text. LF or
// CR LF line ends, quoted fields, a byte-order mark at the start skipped,
// empty lines at the end ignored. Throws TBadInput naming the file and the
// line for an unclosed quote or a record whose field count differs from
// the header's; TStopped when `stop` is set while it reads.
class TCsvReader {
 public:
  TCsvReader(const std::string& path, const std::atomic<bool>* stop = nullptr);
  TCsvReader(std::string_view text, const std::string& fileName);
  ~TCsvReader();
  TCsvReader(const TCsvReader&) = delete;
  TCsvReader& operator=(const TCsvReader&) = delete;

  const std::vector<std::string>& Header() const { return header_; }
  int Column(std::string_view name) const;  // -1 when absent
  // The next record; false at the end of the table.
  bool Next(TCsvRecord& record);
  // The line the last record read starts on.
  int64_t Line() const { return recordLine_; }
  const std::string& FileName() const { return fileName_; }

 private:
  int Get();  // the next byte, or -1 at the end
  int Peek();
  bool Fill();
  // One record's fields and text; false when only line ends were left.
  bool ReadRecord(TCsvRecord& record);

  std::string fileName_;
  const std::atomic<bool>* stop_ = nullptr;
  int fd_ = -1;
  std::string buffer_;
  size_t at_ = 0;
  bool atEnd_ = false;
  int64_t line_ = 1, recordLine_ = 0;
  std::deque<TCsvRecord> pending_;  // records read ahead past empty lines
  std::vector<std::string> header_;
};

// Parses a whole file: LF or CR LF line ends, quoted fields; empty lines at
// the end are ignored. Throws TBadInput naming `fileName` and the line for
// an unclosed quote or a record whose field count differs from the
// header's.
TCsvTable ParseCsv(std::string_view text, const std::string& fileName);

// Reads and parses a file; a missing or unreadable one is a TBadInput.
TCsvTable ReadCsvFile(const std::string& path);

}  // namespace wendo_lab
