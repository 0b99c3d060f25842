#include "progress_bar.h"

#include <string>

namespace wendo_lab {

namespace {
constexpr int BarWidth = 30;

std::string Clock(double seconds) {
  const auto s = static_cast<int64_t>(seconds + 0.5);
  char buf[32];
  if (s >= 3600)
    std::snprintf(buf, sizeof buf, "%lld:%02lld:%02lld", static_cast<long long>(s / 3600),
                  static_cast<long long>(s / 60 % 60), static_cast<long long>(s % 60));
  else
    std::snprintf(buf, sizeof buf, "%lld:%02lld", static_cast<long long>(s / 60), static_cast<long long>(s % 60));
  return buf;
}
}  // namespace

TProgressBar::TProgressBar(std::FILE* terminal, int64_t total, bool enabled)
    : terminal_(terminal), total_(total), enabled_(enabled), start_(std::chrono::steady_clock::now()) {}

TProgressBar::~TProgressBar() { Clear(); }

void TProgressBar::Update(int64_t done) {
  if (!enabled_) return;
  const auto now = std::chrono::steady_clock::now();
  if (shown_ && done < total_ && now - lastDraw_ < std::chrono::milliseconds(100)) return;
  lastDraw_ = now;
  Draw(done);
}

void TProgressBar::Draw(int64_t done) {
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
  const double rate = seconds > 0 ? done / seconds : 0;
  const int filled = total_ > 0 ? static_cast<int>(BarWidth * done / total_) : BarWidth;
  std::string bar(static_cast<size_t>(filled), '#');
  bar.resize(BarWidth, '.');
  const std::string left = rate > 0 ? Clock((total_ - done) / rate) + " left" : "--:-- left";
  // \r and "erase to the end of the line" keep the bar on one line.
  const std::string note = note_.empty() ? "" : note_ + "  ";
  std::fprintf(terminal_, "\r\033[K[%s] %lld/%lld runs  %.1f runs/s  %s%s", bar.c_str(), static_cast<long long>(done),
               static_cast<long long>(total_), rate, note.c_str(), left.c_str());
  std::fflush(terminal_);
  shown_ = true;
}

void TProgressBar::Clear() {
  if (!shown_) return;
  std::fputs("\r\033[K", terminal_);
  std::fflush(terminal_);
  shown_ = false;
}

}  // namespace wendo_lab
