#include "platform/WordWrap.h"

namespace {

void WrapParagraph(std::string_view para, int maxWidth, const MeasureText& measure,
                   std::vector<std::string>& lines)
{
    size_t start = 0;
    do {
        // Find the longest run of whole words from start that still fits.
        size_t lineEnd = std::string_view::npos;  // end of the last word that fits
        size_t pos = start;
        while (pos < para.size()) {
            const size_t wordStart = para.find_first_not_of(' ', pos);
            if (wordStart == std::string_view::npos)
                break;
            size_t wordEnd = para.find(' ', wordStart);
            if (wordEnd == std::string_view::npos)
                wordEnd = para.size();
            const bool fits = measure(para.substr(start, wordEnd - start)) <= maxWidth;
            if (!fits && lineEnd != std::string_view::npos)
                break;
            lineEnd = wordEnd;  // the first word of a line is kept even when too wide
            pos = wordEnd;
            if (!fits)
                break;
        }
        if (lineEnd == std::string_view::npos) {  // only blanks remain
            if (start == 0)
                lines.emplace_back(para);
            return;
        }
        lines.emplace_back(para.substr(start, lineEnd - start));
        start = para.find_first_not_of(' ', lineEnd);
    } while (start != std::string_view::npos);
}

}  // namespace

std::vector<std::string> WrapText(std::string_view text, int maxWidth, const MeasureText& measure)
{
    std::vector<std::string> lines;
    size_t begin = 0;
    while (true) {
        const size_t nl = text.find('\n', begin);
        const std::string_view para = text.substr(begin, nl == std::string_view::npos ? nl : nl - begin);
        if (para.empty())
            lines.emplace_back();
        else
            WrapParagraph(para, maxWidth, measure, lines);
        if (nl == std::string_view::npos)
            break;
        begin = nl + 1;
    }
    return lines;
}
