// Number texts of the records file, independent of the user's locale.
#pragma once

#include <string>
#include <string_view>

// value with up to `digits` significant digits the way the original runtime's
// _gcvt writes it: plain decimals with the point always present ("180.3", "180.",
// "0."), exponent form ("1.5e+010") only for very large or very small values.
std::string GcvtText(double value, int digits);

// atof, atol and atoi: leading blanks skipped, then as much of a number as the text
// holds; no number gives 0. Values beyond the type give 0 instead of undefined
// behaviour.
double AtoF(std::string_view text);
long AtoL(std::string_view text);
int AtoI(std::string_view text);
