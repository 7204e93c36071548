#include "resulttable.h"

#include <algorithm>
#include <cstdio>

namespace quillon::bench {

double median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const size_t mid = values.size() / 2;
    return values.size() % 2 ? values[mid] : (values[mid - 1] + values[mid]) / 2;
}

ResultTable::Row& ResultTable::row(const std::string& caseName, int n)
{
    if (!m_rows.count(caseName))
        m_order.push_back(caseName);
    return m_rows[caseName][n];
}

void ResultTable::add(const std::string& caseName, int n, bool baseline, double seconds)
{
    Row& r = row(caseName, n);
    (baseline ? r.baseline : r.samples).push_back(seconds);
}

void ResultTable::setTarget(const std::string& caseName, const Target& target)
{
    m_targets[caseName] = target;
}

void ResultTable::addMemory(const std::string& caseName, int n, double mb, double baselineMb)
{
    Row& r = row(caseName, n);
    r.memoryMb = mb;
    r.baselineMb = baselineMb;
}

namespace {
std::string format(const char* pattern, double value)
{
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, pattern, value);
    return buffer;
}
} // namespace

void ResultTable::printMarkdown(std::ostream& out) const
{
    out << "\n| case | N | median | baseline median | ratio | target | met |\n"
        << "|---|---:|---:|---:|---:|---|---|\n";
    for (const std::string& name : m_order) {
        const auto targetIt = m_targets.find(name);
        const Target target = targetIt == m_targets.end() ? Target{} : targetIt->second;
        for (const auto& [n, r] : m_rows.at(name)) {
            std::string value, base, ratioText, met = "-";
            const bool applies = target.atSize == 0 || target.atSize == n;
            if (r.memoryMb >= 0) {
                value = format("%.1f MB", r.memoryMb);
                base = format("%.1f MB", r.baselineMb);
                ratioText = format("+%.1f MB", r.memoryMb - r.baselineMb);
                if (applies && target.maxExtraMb > 0)
                    met = r.memoryMb - r.baselineMb <= target.maxExtraMb ? "yes" : "no";
            } else {
                if (r.samples.empty())
                    continue;
                const double ms = median(r.samples) * 1000;
                if (r.baseline.empty()) {
                    // A time reported on its own (a one-off job with nothing to pair it with).
                    value = ms >= 10000 ? format("%.1f s", ms / 1000) : format("%.3f ms", ms);
                    out << "| " << name << " | " << n << " | " << value << " | - | - | "
                        << (applies ? target.text : std::string()) << " | - |\n";
                    continue;
                }
                const double baseMs = median(r.baseline) * 1000;
                const double ratio = baseMs > 0 ? ms / baseMs : 0;
                value = format("%.3f ms", ms);
                base = format("%.3f ms", baseMs);
                ratioText = format("%.2f", ratio);
                if (applies && (target.maxRatio > 0 || target.maxMedianMs > 0)) {
                    const bool ok = (target.maxRatio == 0 || ratio <= target.maxRatio) &&
                                    (target.maxMedianMs == 0 || ms < target.maxMedianMs);
                    met = ok ? "yes" : "no";
                }
            }
            out << "| " << name << " | " << n << " | " << value << " | " << base << " | "
                << ratioText << " | " << (applies ? target.text : std::string()) << " | " << met
                << " |\n";
        }
    }
    out.flush();
}

} // namespace quillon::bench
