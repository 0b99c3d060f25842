#include "stop_points.h"

#include <csignal>
#include <cstdlib>
#include <string>

namespace wendo_lab {

void SignalPoint(std::string_view phase) {
  const char* at = std::getenv("WENDO_LAB_SIGNAL_AT");
  if (!at || phase != at) return;
  const char* name = std::getenv("WENDO_LAB_SIGNAL");
  const int signal = name && std::string(name) == "TERM" ? SIGTERM : SIGINT;
  const char* count = std::getenv("WENDO_LAB_SIGNAL_COUNT");
  const int times = count ? std::atoi(count) : 1;
  for (int i = 0; i < times; ++i) std::raise(signal);
}

}  // namespace wendo_lab
