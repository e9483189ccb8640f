// What a benchmark build of a program records while it runs and writes at
// its end: named moments (milliseconds since the process was created) and
// figures, one "name value..." line each, into the file that
// FERNCASTLE_BENCH_RECORD names. bench/budget reads it.
#pragma once

#include <initializer_list>

namespace bench {

// The moment `name` happened, now; later marks of the same name are ignored.
void Mark(const char* name);
// Adds `amount` to the figure `name`.
void Add(const char* name, double amount = 1);
// One more line "name values..." (a repeated measurement).
void Sample(const char* name, std::initializer_list<double> values);
// Milliseconds on the clock the marks use.
double NowMs();

// Adds the process's peak working set and writes the file; false when no
// file is named or it cannot be written.
bool WriteRecord();

} // namespace bench
