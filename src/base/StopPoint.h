// Named points where a process can be made to stop, so that tests can kill it
// there and look at what it leaves behind (a publish killed halfway, say).
//
// With FOLIVOX_STOP_AT=<name> in the environment, the process that reaches the
// point of that name stops itself (SIGSTOP), once. Without it, nothing happens.
#pragma once

namespace StopPoint {

void reach(const char* name);

}  // namespace StopPoint
