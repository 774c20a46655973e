// Figures of the timing benchmark: errors against the delays applied, their
// summary, a table, a CSV file and a plot of their distribution.
#pragma once

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

struct ErrorSummary {
    double mean = 0;  // signed, ms
    double sd = 0;
    double p95 = 0;   // of the absolute error
    double max = 0;   // of the absolute error
};

struct TimingResult {
    std::string condition;
    std::vector<double> ours;   // measured - applied, ms
    std::vector<double> naive;
    ErrorSummary oursSummary, naiveSummary;
};

ErrorSummary Summarise(const std::vector<double>& errors);
// Answers whose applied delay is NaN (set aside) are left out.
TimingResult Compare(const std::string& condition, const std::vector<double>& ours,
                     const std::vector<double>& naive, const std::vector<double>& applied);
void PrintTable(const std::vector<TimingResult>& results, std::FILE* out);
void WriteCsv(const std::vector<TimingResult>& results, const std::filesystem::path& file);
std::vector<TimingResult> ReadCsv(const std::filesystem::path& file);
// A histogram per condition, ours and the naive method side by side (needs wx).
void PlotErrors(const std::vector<TimingResult>& results, const std::filesystem::path& file);

// The errors of one program in one condition (bench/peers).
struct PeerErrors {
    std::string condition;
    std::string program;
    std::vector<double> errors;  // reported - applied, ms
};
std::vector<PeerErrors> ReadPeersCsv(const std::filesystem::path& file);
// Each answer's absolute error as a dot on a log scale, a row per program with
// its median marked, a panel per condition (needs wx).
void PlotPeers(const std::vector<PeerErrors>& rows, const std::filesystem::path& file);
