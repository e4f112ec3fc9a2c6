// Where a run's time goes: with ZELVO_PHASES naming a file, each mark records
// the monotonic clock (the benchmark's clock too) under its name, and the run
// writes the marks there when it ends. Without it a mark costs one branch.
#pragma once

namespace phase {

// Records that the step name ends now.
void mark(const char* name);

// Writes the marks to the file ZELVO_PHASES names ("name nanoseconds" a line).
void write_marks();

}  // namespace phase
