#include "base/StopPoint.h"

#include <atomic>
#include <csignal>
#include <cstdlib>
#include <cstring>

namespace StopPoint {

void reach(const char* name) {
  static const char* const wanted = std::getenv("FOLIVOX_STOP_AT");
  static std::atomic<bool> stopped{false};
  if (wanted == nullptr || std::strcmp(wanted, name) != 0 || stopped.exchange(true)) return;
  std::raise(SIGSTOP);
}

}  // namespace StopPoint
