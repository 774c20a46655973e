// Line breaking for text drawn in a rectangle.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

using MeasureText = std::function<int(std::string_view)>;

// Splits text into lines no wider than maxWidth where possible. Breaks fall only
// between words: a word wider than maxWidth stands alone on its line. Each line
// feed starts a new line; the blanks at a break are dropped, the blanks that open
// a paragraph are kept.
std::vector<std::string> WrapText(std::string_view text, int maxWidth, const MeasureText& measure);
