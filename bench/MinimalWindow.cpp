// The floor of the footprint benchmark: the smallest wxWidgets program with a main
// window of the same size that paints its client area. It marks its first paint by
// creating the file "painted" in its working directory.
#include <fstream>

#include <wx/dcclient.h>
#include <wx/frame.h>
#include <wx/wx.h>

class MinimalApp : public wxApp {
public:
    bool OnInit() override
    {
        auto* frame = new wxFrame(nullptr, wxID_ANY, "minimal", wxPoint(100, 100), wxSize(560, 340));
        auto* canvas = new wxWindow(frame, wxID_ANY);
        canvas->Bind(wxEVT_PAINT, [canvas](wxPaintEvent&) {
            wxPaintDC dc(canvas);
            dc.SetBrush(*wxWHITE_BRUSH);
            dc.DrawRectangle(wxPoint(0, 0), canvas->GetClientSize());
            static bool marked = false;
            if (!marked) {
                marked = true;
                std::ofstream("painted") << "1";
            }
        });
        frame->Show();
        return true;
    }
};

wxIMPLEMENT_APP(MinimalApp);
