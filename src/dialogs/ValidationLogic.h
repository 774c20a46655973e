// What the Validation dialog shows and its check of a reported triple, without
// the window: the dialog copies these texts into its controls and back.
#pragma once

#include <array>
#include <string>

class Clock;

class ValidationLogic {
public:
    // Puts the explanation texts of the language into the form; any language other
    // than 'E', 'R', 'L', 'T' gets the English ones.
    void SetTexts(char chLanguage);

    // "verify": judges the triple in the three check fields and writes the answer
    // in the language the form was opened with. Pauses 100 ms first, as the
    // original did, so a verdict never flashes by unnoticed.
    void OnVerify(Clock& clock);

    // The texts of the bound controls, UTF-8; all empty until filled.
    std::string m_strLanguage;        // the language letter, after four blanks
    std::string m_strIdeaTitle;
    std::string m_strParagraph1;
    std::string m_strParagraph2;
    std::string m_strDataTitle;
    std::string m_strHdVol;           // decimal
    std::string m_strHdVolHex;        // hexadecimal
    std::array<std::string, 3> m_strRecord;     // modes A, B, C
    std::array<std::string, 3> m_strValidator;  // modes A, B, C
    std::string m_strCheckTitle;
    std::string m_strInstruction;
    std::string m_strCheckHdVol;
    std::string m_strCheckRecord;
    std::string m_strCheckValidator;
    std::string m_strAnswer;
};
