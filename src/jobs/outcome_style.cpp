#include "jobs/outcome_style.h"

#include <algorithm>
#include <cmath>

namespace {

struct Style {
    Outcome outcome;
    uint32_t color;
    const char* decoration;  // CSS added to the colour and the weight
};
// Dark enough for 4.5:1 on the log's blue; failure is underlined as well.
constexpr Style kStyles[] = {
    {Outcome::Success, 0x002C00, ""},
    {Outcome::Warning, 0x481800, ""},
    {Outcome::Failure, 0x4C0000, " text-decoration: underline;"},
};

const Style& style_of(Outcome outcome) {
    for (const Style& s : kStyles)
        if (s.outcome == outcome) return s;
    return kStyles[0];
}

double luminance(uint32_t rgb) {
    const auto linear = [rgb](int shift) {
        const double v = ((rgb >> shift) & 0xFF) / 255.0;
        return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(16) + 0.7152 * linear(8) + 0.0722 * linear(0);
}

}  // namespace

uint32_t outcome_rgb(Outcome outcome) {
    return style_of(outcome).color;
}

QString outcome_markup(Outcome outcome, const QString& text) {
    const Style& s = style_of(outcome);
    return QStringLiteral("<span style=\"color: %1; font-weight: bold;%2\">%3</span>")
        .arg(QStringLiteral("#%1").arg(s.color, 6, 16, QLatin1Char('0')),
             QLatin1String(s.decoration), text.toHtmlEscaped());
}

double contrast_ratio(uint32_t a, uint32_t b) {
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}
