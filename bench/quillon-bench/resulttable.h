#pragma once

#include <map>
#include <ostream>
#include <string>
#include <vector>

namespace quillon::bench {

// What a case must reach against its baseline.
struct Target {
    double maxRatio = 0;    // 0: no ratio limit
    double maxMedianMs = 0; // 0: no time limit
    int atSize = 0;         // the limits apply at this N only; 0: at every N
    double maxExtraMb = 0;  // memory cases: allowed excess over the baseline
    std::string text;       // how the limit reads in the table
};

// Per-iteration times of each case and its baseline, and the Markdown table
// of medians and ratios printed after the run.
class ResultTable final {
public:
    // One timed iteration, in seconds; side is "case" or "baseline". A case
    // with no baseline is printed with its time alone.
    void add(const std::string& caseName, int n, bool baseline, double seconds);
    void setTarget(const std::string& caseName, const Target& target);
    // A peak-memory measurement in megabytes (case and baseline at once).
    void addMemory(const std::string& caseName, int n, double mb, double baselineMb);

    void printMarkdown(std::ostream& out) const;

private:
    struct Row {
        std::vector<double> samples;
        std::vector<double> baseline;
        double memoryMb = -1;
        double baselineMb = -1;
    };
    // Keyed by case then N, in the order cases were first recorded.
    std::vector<std::string> m_order;
    std::map<std::string, std::map<int, Row>> m_rows;
    std::map<std::string, Target> m_targets;

    Row& row(const std::string& caseName, int n);
};

double median(std::vector<double> values);

} // namespace quillon::bench
