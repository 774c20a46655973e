#include "view/records/RecordsText.h"

#include <charconv>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace {

// What from_chars is given: leading blanks skipped and a plus sign dropped (it
// takes a minus sign only), so "+-5" stays no number.
std::string_view NumberStart(std::string_view text)
{
    const size_t start = text.find_first_not_of(" \t\n\v\f\r");
    if (start == std::string_view::npos)
        return {};
    text.remove_prefix(start);
    if (text.size() > 1 && text[0] == '+' && text[1] != '-')
        text.remove_prefix(1);
    return text;
}

template <class Int>
Int ParseInt(std::string_view text)
{
    text = NumberStart(text);
    Int value = 0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    return result.ec == std::errc() ? value : 0;
}

}  // namespace

std::string GcvtText(double value, int digits)
{
    if (!std::isfinite(value))
        return value != value ? "nan" : value > 0 ? "inf" : "-inf";
    char buf[64];
    // The exponent as the value shows with `digits` significant digits.
    auto end = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific, digits - 1).ptr;
    const std::string_view sci(buf, static_cast<size_t>(end - buf));
    const int exponent = std::atoi(std::string(sci.substr(sci.find('e') + 1)).c_str());

    // Below 0.1 the runtime's _gcvt already writes the exponent form ("5.e-002"),
    // where printf's %g would wait until 0.0001.
    std::string text;
    if (exponent < -1 || exponent >= digits) {
        std::string mantissa(sci.substr(0, sci.find('e')));
        if (mantissa.find('.') == std::string::npos)
            mantissa += '.';
        while (mantissa.back() == '0')
            mantissa.pop_back();
        char exp[16];
        std::snprintf(exp, sizeof exp, "e%c%03d", exponent < 0 ? '-' : '+', std::abs(exponent));
        text = mantissa + exp;
    } else {
        end = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, digits - 1 - exponent).ptr;
        text.assign(buf, end);
        if (text.find('.') == std::string::npos)
            text += '.';
        while (text.back() == '0')
            text.pop_back();
    }
    return text;
}

// As the classic runtime's atof: digits with an optional point and exponent, and
// nothing else ("inf", "nan" and hexadecimal are no numbers); a value too large
// gives HUGE_VAL, one too small 0.
double AtoF(std::string_view text)
{
    text = NumberStart(text);
    const std::size_t first = !text.empty() && text[0] == '-' ? 1 : 0;
    const bool digitFirst = first < text.size() && (std::isdigit(static_cast<unsigned char>(text[first])) ||
                                                    (text[first] == '.' && first + 1 < text.size() &&
                                                     std::isdigit(static_cast<unsigned char>(text[first + 1]))));
    if (!digitFirst)
        return 0.0;
    double value = 0.0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    if (result.ec == std::errc::result_out_of_range)
        return std::strtod(std::string(text).c_str(), nullptr);  // HUGE_VAL or 0, with the sign
    return result.ec == std::errc() ? value : 0.0;
}

long AtoL(std::string_view text)
{
    return static_cast<long>(ParseInt<std::int32_t>(text));
}

int AtoI(std::string_view text)
{
    return ParseInt<int>(text);
}
