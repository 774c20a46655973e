// What a screen reader is told of a window that draws its own content: a name (what
// just changed, which is spoken) and a description (all it shows). Through the
// toolkit's accessibility interface (ATK on GTK); nothing where there is none.
#pragma once

#include <string>

class wxWindow;

void TellScreenReaders(wxWindow& window, const std::string& name, const std::string& description);
