// Where the interpreter comes from. On a system whose Squirrel lives in a
// heavy shared library (Debian's Code::Blocks SDK, which pulls in wxWidgets
// and GTK), the program does not link it: it loads it when a script first
// runs, so that commands which run no script start at once.
#pragma once

#include <QString>

// Loads the interpreter if it is not loaded yet; false (with the reason in
// *error) when it cannot be. Every interpreter call needs it to have succeeded.
bool squirrel_load(QString* error);

// Starts loading the interpreter on a thread of its own, so that the load
// overlaps other work (the command line's header read) instead of following
// it; squirrel_load then waits for it.
void squirrel_preload();
// Whether a load squirrel_preload started is still under way (never waits).
bool squirrel_loading();
// Waits for a load squirrel_preload started; a program that preloads calls
// it before it ends.
void squirrel_preload_join();
