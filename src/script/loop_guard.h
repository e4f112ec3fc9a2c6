// Makes every loop of a mapper script call back into the interpreter once per
// turn, so that the debug hook which stops a canceled script sees each turn.
#pragma once

#include <QByteArray>

// The script function each guarded loop condition passes through; it returns
// its argument, so a loop runs exactly as written.
constexpr char kLoopTickName[] = "__zelvo_loop__";
constexpr char kLoopTickSource[] = "function __zelvo_loop__(x) { return x; }";

// Wraps the condition of every `while` (and `do ... while`) and `for` loop in
// a call of the tick function. Only characters are inserted, never line
// breaks, so every line keeps its number in the interpreter's reports. Text
// it cannot read as a loop header is left as it stands.
QByteArray guard_loops(const QByteArray& source);
