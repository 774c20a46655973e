#include "platform/ScreenText.h"

#include <algorithm>
#include <cstdlib>

namespace {

bool Overlap(const Rect& a, const Rect& b)
{
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

}  // namespace

void ScreenText::Erase(const Rect& rect)
{
    auto covered = [&](const Shown& s) { return Overlap(rect, s.where); };
    std::erase_if(m_texts, covered);
    std::erase_if(m_added, covered);
}

void ScreenText::Add(const Rect& where, std::string_view text)
{
    // A text drawn where another stands takes its place.
    Erase(where);
    if (text.find_first_not_of(' ') == std::string_view::npos)
        return;
    m_texts.push_back({where, std::string(text)});
    m_added.push_back(m_texts.back());
}

std::string ScreenText::Join(std::vector<Shown> texts)
{
    // Top to bottom, left to right; texts whose middles lie within half a line of
    // each other share a line.
    std::stable_sort(texts.begin(), texts.end(), [](const Shown& a, const Shown& b) {
        return a.where.top != b.where.top ? a.where.top < b.where.top : a.where.left < b.where.left;
    });
    std::string read;
    int lineMiddle = -1000000;
    for (const Shown& s : texts) {
        const int middle = (s.where.top + s.where.bottom) / 2;
        std::string_view text = s.text;
        text.remove_prefix(std::min(text.find_first_not_of(' '), text.size()));
        if (!read.empty())
            read += std::abs(middle - lineMiddle) < std::max(1, s.where.Height() / 2) ? " " : "\n";
        read += text;
        lineMiddle = middle;
    }
    return read;
}

std::string ScreenText::Read() const
{
    return Join(m_texts);
}

std::string ScreenText::Added() const
{
    return Join(m_added);
}
