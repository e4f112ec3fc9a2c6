#include "jobs/outcome_style.h"

#include <cmath>

namespace {

struct Style {
    Outcome outcome;
    QRgb color;
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

double luminance(const QColor& c) {
    const auto linear = [](double v) {
        return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(c.redF()) + 0.7152 * linear(c.greenF()) + 0.0722 * linear(c.blueF());
}

}  // namespace

QColor outcome_color(Outcome outcome) {
    return QColor(style_of(outcome).color);
}

QString outcome_markup(Outcome outcome, const QString& text) {
    const Style& s = style_of(outcome);
    return QStringLiteral("<span style=\"color: %1; font-weight: bold;%2\">%3</span>")
        .arg(QColor(s.color).name(), QLatin1String(s.decoration), text.toHtmlEscaped());
}

double contrast_ratio(const QColor& a, const QColor& b) {
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}
