#include "csv.h"

#include <cerrno>
#include <charconv>
#include <cstring>
#include <deque>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "bad_input.h"
#include "stop_points.h"

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
constexpr size_t ChunkSize = 1 << 16;
constexpr std::string_view ByteOrderMark = "\xEF\xBB\xBF";
}  // namespace

TCsvReader::TCsvReader(const std::string& path, const std::atomic<bool>* stop) : fileName_(path), stop_(stop) {
  struct stat st {};
  if (::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode))
    throw TBadInput(path + ": " + std::strerror(EISDIR) + "; name a file");
  do fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY);
  while (fd_ < 0 && errno == EINTR && !StopRequested(stop_));
  ThrowIfStopped(stop_);
  if (fd_ < 0) throw TBadInput(path + ": " + std::strerror(errno));
  TCsvRecord first;
  if (!ReadRecord(first)) throw TBadInput(path + ": the file is empty");
  header_ = std::move(first.Fields);
}

TCsvReader::TCsvReader(std::string_view text, const std::string& fileName)
    : fileName_(fileName), buffer_(text), atEnd_(true) {
  TCsvRecord first;
  if (!ReadRecord(first)) throw TBadInput(fileName + ": the file is empty");
  header_ = std::move(first.Fields);
}

TCsvReader::~TCsvReader() {
  if (fd_ >= 0) ::close(fd_);
}

int TCsvReader::Column(std::string_view name) const {
  for (size_t i = 0; i < header_.size(); ++i)
    if (header_[i] == name) return static_cast<int>(i);
  return -1;
}

bool TCsvReader::Fill() {
  if (atEnd_) return false;
  buffer_.erase(0, at_);
  at_ = 0;
  const size_t old = buffer_.size();
  buffer_.resize(old + ChunkSize);
  ssize_t n;
  do {
    ThrowIfStopped(stop_);
    n = ::read(fd_, buffer_.data() + old, ChunkSize);
  } while (n < 0 && errno == EINTR);
  if (n < 0) throw TBadInput(fileName_ + ": " + std::strerror(errno));
  buffer_.resize(old + static_cast<size_t>(n));
  atEnd_ = n == 0;
  return n > 0;
}

int TCsvReader::Peek() {
  if (at_ == buffer_.size() && !Fill()) return -1;
  return static_cast<unsigned char>(buffer_[at_]);
}

int TCsvReader::Get() {
  const int c = Peek();
  if (c >= 0) ++at_;
  return c;
}

bool TCsvReader::ReadRecord(TCsvRecord& record) {
  record.Fields.clear();
  record.Text.clear();
  if (line_ == 1 && recordLine_ == 0) {
    for (const char b : ByteOrderMark) {
      if (Peek() != static_cast<unsigned char>(b)) break;
      Get();
    }
  }
  recordLine_ = line_;
  std::string field;
  bool quoted = false;
  for (;;) {
    const int c = Get();
    if (c < 0) {
      if (quoted) throw TBadInput(fileName_ + ", line " + std::to_string(recordLine_) + ": a quote is never closed");
      if (record.Text.empty()) return false;
      record.Text += "\r\n";  // a last record without its line end
      break;
    }
    record.Text += static_cast<char>(c);
    if (quoted) {
      if (c == '"' && Peek() == '"') {
        field += '"';
        record.Text += static_cast<char>(Get());
      } else if (c == '"') {
        quoted = false;
      } else {
        line_ += c == '\n';
        field += static_cast<char>(c);
      }
    } else if (c == '"') {
      quoted = true;
    } else if (c == ',') {
      record.Fields.push_back(std::move(field));
      field.clear();
    } else if (c == '\n' || (c == '\r' && Peek() == '\n')) {
      if (c == '\r') record.Text += static_cast<char>(Get());
      ++line_;
      break;
    } else {
      field += static_cast<char>(c);
    }
  }
  record.Fields.push_back(std::move(field));
  return true;
}

bool TCsvReader::Next(TCsvRecord& record) {
  if (!pending_.empty()) {
    record = std::move(pending_.front());
    pending_.pop_front();
    return true;
  }
  if (!ReadRecord(record)) return false;
  auto isEmpty = [](const TCsvRecord& r) { return r.Fields.size() == 1 && r.Text.find_first_not_of("\r\n") == std::string::npos; };
  if (isEmpty(record)) {
    // Empty lines at the end, as an editor may leave them, are no records;
    // amid the records they are records of one empty field.
    const int64_t line = recordLine_;
    std::deque<TCsvRecord> ahead;
    TCsvRecord next;
    bool more = false;
    while (ReadRecord(next)) {
      ahead.push_back(next);
      if (!isEmpty(next)) {
        more = true;
        break;
      }
    }
    if (!more) return false;
    if (header_.size() != 1)
      throw TBadInput(fileName_ + ", line " + std::to_string(line) + ": 1 field where the header has " +
                      std::to_string(header_.size()));
    pending_ = std::move(ahead);
    recordLine_ = line;
    return true;
  }
  if (record.Fields.size() != header_.size())
    throw TBadInput(fileName_ + ", line " + std::to_string(recordLine_) + ": " + std::to_string(record.Fields.size()) +
                    " fields where the header has " + std::to_string(header_.size()));
  return true;
}

namespace {
TCsvTable ReadWholeTable(TCsvReader& reader) {
  TCsvTable table;
  table.Header = reader.Header();
  for (TCsvRecord record; reader.Next(record);) table.Rows.push_back(std::move(record));
  return table;
}
}  // namespace

TCsvTable ParseCsv(std::string_view text, const std::string& fileName) {
  TCsvReader reader(text, fileName);
  return ReadWholeTable(reader);
}

TCsvTable ReadCsvFile(const std::string& path) {
  TCsvReader reader(path);
  return ReadWholeTable(reader);
}

}  // namespace wendo_lab
