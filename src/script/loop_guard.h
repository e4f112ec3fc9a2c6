// Makes every loop of a mapper script, and every function it calls, pass
// through a native of the host once per turn and once per call, so that a
// canceled script is stopped by that native wherever it runs.
#pragma once

#include <QByteArray>

// Wraps the condition of every `while` (and `do ... while`) and `for` loop in
// a call of the native named tick, which returns its argument, so a loop runs
// exactly as written; and begins the body of every function (and constructor)
// with a call of it, and the expression of every lambda with one that decides
// nothing. Only characters are inserted, never line breaks, so every
// line keeps its number in the interpreter's reports. Text it cannot read as a
// loop header or a function is left as it stands.
QByteArray guard_loops(const QByteArray& source, const QByteArray& tick);
