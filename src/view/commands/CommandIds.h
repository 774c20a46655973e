// The program's command numbers, shared by the menu, the toolbar and the tooltips.
#pragma once

namespace cmd {
// Toolbar buttons
constexpr int kToolLithuanianLatin = 32775;
constexpr int kToolLithuanian = 32776;
constexpr int kToolRussian = 32777;
constexpr int kToolEnglish = 32778;
constexpr int kToolIndexPage = 32779;
constexpr int kToolModeA = 32781;
constexpr int kToolModeB = 32782;
constexpr int kToolModeC = 32783;
constexpr int kToolAbout = 32792;
constexpr int kToolValidation = 32794;
constexpr int kToolHistory = 32800;
// Menu items
constexpr int kMenuEnglish = 32785;
constexpr int kMenuRussian = 32786;
constexpr int kMenuLithuanian = 32787;
constexpr int kMenuLithuanianLatin = 32788;
constexpr int kMenuModeA = 32789;
constexpr int kMenuModeB = 32790;
constexpr int kMenuModeC = 32791;
constexpr int kMenuAbout = 32795;
constexpr int kMenuValidation = 32797;
constexpr int kMenuIndexPage = 32798;
constexpr int kMenuHistory = 32801;
// The framework's own
constexpr int kAppExit = 57665;
constexpr int kViewToolbar = 59392;

constexpr int kFirst = 32775;
constexpr int kLast = 32801;
}  // namespace cmd
