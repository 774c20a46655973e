// The one rule by which every text of the window is chosen: each text has a
// variant for English, Russian in Latin letters, Lithuanian, and Lithuanian in
// Latin letters; any other language code gets the English one.
#pragma once

struct LangText {
    const char* english;
    const char* russian;
    const char* lithuanian;
    const char* lithuanianLatin;
};

constexpr const char* ChooseText(char chLanguage, const LangText& text)
{
    switch (chLanguage) {
    case 'R': return text.russian;
    case 'L': return text.lithuanian;
    case 'T': return text.lithuanianLatin;
    default: return text.english;
    }
}

// A text about a count, in the grammatical number each language gives that count:
// English has one and many; Russian and Lithuanian have three forms each, chosen
// by the last two digits (1, 21, 101: the first; 2-4 in Russian, 2-9 in Lithuanian,
// but never 11-19: the second; the rest: the third).
struct CountedText {
    LangText one, few, many;
};

constexpr const char* ChooseText(char chLanguage, const CountedText& text, long count)
{
    const long n = count < 0 ? -count : count;
    const long last = n % 10, lastTwo = n % 100;
    const bool teen = lastTwo >= 11 && lastTwo <= 19;
    switch (chLanguage) {
    case 'R':
        return ChooseText(chLanguage, last == 1 && !teen ? text.one
                                      : last >= 2 && last <= 4 && !teen ? text.few
                                                                         : text.many);
    case 'L':
    case 'T':
        return ChooseText(chLanguage, last == 1 && !teen ? text.one : last >= 2 && !teen ? text.few : text.many);
    default:
        return ChooseText(chLanguage, n == 1 ? text.one : text.many);
    }
}
