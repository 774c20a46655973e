// CHistoryDlg: the History window. Per mode a chart of the series averages over
// time with the all-time record marked, a histogram of single reaction times (all
// time and the last 30 days) and the last series with its figures; and the export
// of every answer to CSV.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include <wx/dialog.h>
#include <wx/geometry.h>

#include "history/HistoryWindow.h"
#include "history/chart/ChartModel.h"
#include "history/sqlite/SqliteHistory.h"

class wxStaticText;

namespace history {

// The drawing of one mode's history (as the chart model lays it out); crisp at any
// scale (anti-aliased vector drawing in logical pixels), in the colours of the
// desktop's theme. A series is picked with the arrow keys (Home, End, Page Up and
// Down too) or the pointer; its date, time and average are shown and described.
class HistoryChart : public wxWindow {
public:
    HistoryChart(wxWindow* parent, const WindowRequest& request);

    void ShowMode(const ModeSummary* summary, int mode);  // null: nothing could be read
    // The folder of the database, named when it cannot be read.
    void SetFolder(const wxString& folder) { m_folder = folder; }
    // Where the latest paint put each series average and the record line, in
    // client coordinates; the colour of the averages.
    const std::vector<wxPoint2DDouble>& AveragePoints() const { return m_points; }
    double RecordY() const { return m_recordY; }
    wxColour LineColour() const;
    // The size below which its texts would no longer fit.
    wxSize MinimumSize();
    // The series picked (-1: none); picks one (clamped to the series there are).
    int Selected() const { return m_selected; }
    void Select(int series);
    // What a screen reader is told of it, and who is told when that changes.
    const std::string& Description() const { return m_description; }
    void OnDescribed(std::function<void(const std::string&)> told) { m_onDescribed = std::move(told); }

private:
    void OnPaint(wxPaintEvent& event);
    void OnKeyDown(wxKeyEvent& event);
    void OnMouse(wxMouseEvent& event);
    void Described();

    WindowRequest m_request;
    wxString m_folder;
    const ModeSummary* m_summary = nullptr;
    int m_mode = 0;
    std::vector<wxPoint2DDouble> m_points;
    double m_recordY = -1.0;
    int m_selected = -1;
    chart::Picture m_picture;  // of the latest paint
    std::string m_description;
    std::function<void(const std::string&)> m_onDescribed;
};

class CHistoryDlg : public wxDialog {
public:
    enum : int { kIdModeA = 1101, kIdChart = 1104, kIdExport = 1105, kIdStatus = 1106 };  // modes B, C: 1102, 1103

    // Reads the history at databasePath (the time it took is kept for the benchmark).
    CHistoryDlg(wxWindow* parent, const WindowRequest& request, const std::string& databasePath);

    HistoryChart& Chart() { return *m_chart; }
    bool Readable() const { return m_readable; }
    double ReadMillis() const { return m_readMillis; }
    // Writes the CSV to path and says how it went in the window; false on failure.
    bool ExportTo(const std::string& path);

private:
    void OnExport(wxCommandEvent& event);

    WindowRequest m_request;
    std::string m_databasePath;
    Summary m_summary;
    bool m_readable = false;
    double m_readMillis = 0.0;
    HistoryChart* m_chart = nullptr;
    wxStaticText* m_status = nullptr;
};

}  // namespace history
