#include "platform/wx/Accessible.h"

#include <wx/window.h>

#ifdef __WXGTK__
#include <gtk/gtk.h>
#endif

void TellScreenReaders(wxWindow& window, const std::string& name, const std::string& description)
{
#ifdef __WXGTK__
    GtkWidget* widget = window.GetHandle();
    AtkObject* accessible = widget ? gtk_widget_get_accessible(widget) : nullptr;
    if (!accessible)
        return;
    // A description first: a reader that speaks the new name finds the rest there.
    if (description != (atk_object_get_description(accessible) ? atk_object_get_description(accessible) : ""))
        atk_object_set_description(accessible, description.c_str());
    if (name != (atk_object_get_name(accessible) ? atk_object_get_name(accessible) : ""))
        atk_object_set_name(accessible, name.c_str());
#else
    window.SetName(wxString::FromUTF8(name));
    window.SetHelpText(wxString::FromUTF8(description));
#endif
}
