// The label in front of the series list; the reset of a series and the result
// screen both set it, so it lives in one place.
#pragma once

#include "view/Language.h"

inline constexpr LangText kSeriesLabel = {"Series: ", "Seriya: ", "Serija: ", "Serija: "};
