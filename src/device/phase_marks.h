// Where a run's time goes: with ZELVO_PHASES naming a file, each mark records
// the monotonic clock (the benchmark's clock too) under its name, and the run
// writes the marks there when it ends. Without it a mark costs one branch.
#pragma once

#include <utility>
#include <vector>

namespace phase {

// Records that the step name ends now.
void mark(const char* name);

// Writes the marks to the file ZELVO_PHASES names ("name nanoseconds" a line).
void write_marks();

// The marks so far, in their order, which are then forgotten: a long-lived
// process (the window) reads its runs' steps so.
std::vector<std::pair<const char*, long long>> take_marks();

}  // namespace phase
