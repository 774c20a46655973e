// printf-style formatting into a std::string, for the "%d" and "%.1f" texts.
#pragma once

#include <cstdio>
#include <string>

template <class... Args>
std::string Format(const char* format, Args... args)
{
    const int length = std::snprintf(nullptr, 0, format, args...);
    if (length <= 0)
        return {};
    std::string text(static_cast<size_t>(length), '\0');
    std::snprintf(text.data(), text.size() + 1, format, args...);
    return text;
}
