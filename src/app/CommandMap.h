// wx refuses menu and tool ids of 0x7FFF and above, where most of the program's
// command numbers lie; these map them into its range and back.
#pragma once

#include <wx/defs.h>

#include "view/commands/CommandIds.h"

constexpr int WxIdOf(int command)
{
    if (command == cmd::kAppExit)
        return wxID_EXIT;
    if (command == cmd::kViewToolbar)
        return wxID_HIGHEST + 1;
    return wxID_HIGHEST + 2 + (command - cmd::kFirst);
}

constexpr int CommandOf(int wxId)
{
    if (wxId == wxID_EXIT)
        return cmd::kAppExit;
    if (wxId == wxID_HIGHEST + 1)
        return cmd::kViewToolbar;
    return cmd::kFirst + (wxId - (wxID_HIGHEST + 2));
}

constexpr int kWxFirstCommandId = WxIdOf(cmd::kFirst);
constexpr int kWxLastCommandId = WxIdOf(cmd::kLast);
