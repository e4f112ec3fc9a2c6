// How an outcome looks in the log and on the progress bar: success, a success
// with a warning, and failure, each in its own bold colour that reads at 4.5:1
// or more on the log's blue.
#pragma once

#include <QString>
#include <cstdint>

enum class Outcome { Success, Warning, Failure };

// The log's background, which every outcome colour is chosen against (0xRRGGBB).
inline constexpr uint32_t kLogBackground = 0x7092BE;

// The outcome's colour, 0xRRGGBB.
uint32_t outcome_rgb(Outcome outcome);

// text (plain, escaped here) as a log line in the outcome's style.
QString outcome_markup(Outcome outcome, const QString& text);

// The WCAG contrast ratio of two colours (0xRRGGBB), from 1 to 21.
double contrast_ratio(uint32_t a, uint32_t b);
