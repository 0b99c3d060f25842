#include "csv.h"

#include <cerrno>
#include <charconv>
#include <cstring>
#include <fstream>
#include <iterator>

#include "bad_input.h"

namespace wendo_lab {

void AppendRecord(std::string& out, const std::vector<std::string>& fields) {
  for (size_t i = 0; i < fields.size(); ++i) {
    if (i) out += ',';
    const std::string& f = fields[i];
    if (f.find_first_of(",\"\r\n") == std::string::npos) {
      out += f;
      continue;
    }
    out += '"';
    for (char c : f) {
      if (c == '"') out += '"';
      out += c;
    }
    out += '"';
  }
  out += "\r\n";
}

std::string NumberText(double v) {
  char buf[64];
  return std::string(buf, std::to_chars(buf, buf + sizeof buf, v).ptr);
}

std::string FixedText(double v, int decimals) {
  char buf[400];
  return std::string(buf, std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, decimals).ptr);
}

std::string SecondsText(int64_t ms) {
  std::string s = std::to_string(ms / 1000);
  int64_t part = ms % 1000;
  if (part == 0) return s;
  std::string digits = std::to_string(1000 + part).substr(1);
  while (digits.back() == '0') digits.pop_back();
  return s + "." + digits;
}

int TCsvTable::Column(std::string_view name) const {
  for (size_t i = 0; i < Header.size(); ++i)
    if (Header[i] == name) return static_cast<int>(i);
  return -1;
}

namespace {

// Reads the record that starts at `at` into `fields`, up to and past its
// line end (or the end of the text); `line` counts the lines passed.
void ReadRecord(std::string_view text, size_t& at, size_t& line, std::vector<std::string>& fields,
                const std::string& fileName) {
  const size_t firstLine = line;
  std::string field;
  bool quoted = false;
  for (;;) {
    if (at == text.size()) {
      if (quoted) throw TBadInput(fileName + ", line " + std::to_string(firstLine) + ": a quote is never closed");
      break;
    }
    const char c = text[at++];
    if (quoted) {
      if (c == '"' && at < text.size() && text[at] == '"') {
        field += '"';
        ++at;
      } else if (c == '"') {
        quoted = false;
      } else {
        line += c == '\n';
        field += c;
      }
    } else if (c == '"') {
      quoted = true;
    } else if (c == ',') {
      fields.push_back(std::move(field));
      field.clear();
    } else if (c == '\n' || (c == '\r' && at < text.size() && text[at] == '\n')) {
      if (c == '\r') ++at;
      ++line;
      break;
    } else {
      field += c;
    }
  }
  fields.push_back(std::move(field));
}

// Empty lines at the end, as an editor may leave them, are no records.
bool OnlyLineEndsFollow(std::string_view text, size_t start, size_t at) {
  return text.substr(start, at - start).find_first_not_of("\r\n") == std::string_view::npos &&
         text.substr(at).find_first_not_of("\r\n") == std::string_view::npos;
}

}  // namespace

TCsvTable ParseCsv(std::string_view text, const std::string& fileName) {
  TCsvTable table;
  size_t at = 0, line = 1;
  while (at < text.size()) {
    TCsvRecord record;
    const size_t start = at, firstLine = line;
    ReadRecord(text, at, line, record.Fields, fileName);
    if (!table.Header.empty() && OnlyLineEndsFollow(text, start, at)) break;
    record.Text = std::string(text.substr(start, at - start));
    if (record.Text.back() != '\n') record.Text += "\r\n";  // a last record without its line end
    if (table.Header.empty()) {
      table.Header = std::move(record.Fields);
    } else if (record.Fields.size() != table.Header.size()) {
      throw TBadInput(fileName + ", line " + std::to_string(firstLine) + ": " + std::to_string(record.Fields.size()) +
                      " fields where the header has " + std::to_string(table.Header.size()));
    } else {
      table.Rows.push_back(std::move(record));
    }
  }
  if (table.Header.empty()) throw TBadInput(fileName + ": the file is empty");
  return table;
}

TCsvTable ReadCsvFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw TBadInput(path + ": " + std::strerror(errno));
  const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) throw TBadInput(path + ": cannot be read");
  return ParseCsv(text, path);
}

}  // namespace wendo_lab
