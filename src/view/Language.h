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
