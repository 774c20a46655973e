// wx refuses menu and tool ids of 0x7FFF and above, where most of the program's
// command numbers lie; these map them into its range and back.
#pragma once

#include <wx/defs.h>

#include "view/commands/CommandIds.h"

// Exit has an id of its own rather than wx's stock one, which would bring the
// stock key Ctrl+Q into the menu: the program gives Exit no key.
constexpr int kWxExitId = wxID_HIGHEST + 2 + (cmd::kLast - cmd::kFirst) + 1;

constexpr int WxIdOf(int command)
{
    if (command == cmd::kAppExit)
        return kWxExitId;
    if (command == cmd::kViewToolbar)
        return wxID_HIGHEST + 1;
    return wxID_HIGHEST + 2 + (command - cmd::kFirst);
}

constexpr int CommandOf(int wxId)
{
    if (wxId == kWxExitId)
        return cmd::kAppExit;
    if (wxId == wxID_HIGHEST + 1)
        return cmd::kViewToolbar;
    return cmd::kFirst + (wxId - (wxID_HIGHEST + 2));
}

constexpr int kWxFirstCommandId = WxIdOf(cmd::kFirst);
constexpr int kWxLastCommandId = WxIdOf(cmd::kLast);
