// The benchmarks' clock, the machine's load, and the rows of figures: each
// figure is measured in several runs together with its limit (the least the
// machine needs for the same work), and printed as the time and as its ratio
// to the limit of the same run, each as minimum, median and maximum.
#pragma once
#include <windows.h>
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

// Seconds since some fixed moment, from the performance counter.
inline double Now()
{
    static const LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        ::QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER counter;
    ::QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// The host's load average ("1.02 0.87 0.65 ..."), read through the drive
// that maps the host's root; "unknown" elsewhere.
inline std::string LoadAverage()
{
    HANDLE file = ::CreateFileW(L"Z:\\proc\\loadavg", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return "unknown";
    char text[128] = {};
    DWORD read = 0;
    ::ReadFile(file, text, sizeof text - 1, &read, nullptr);
    ::CloseHandle(file);
    std::string load(text, read);
    while (!load.empty() && (load.back() == '\n' || load.back() == '\r')) load.pop_back();
    return load.empty() ? "unknown" : load;
}

// One row of a benchmark: a figure and its limit, measured together in each
// run.
class Row
{
public:
    Row(const char* what, const char* limit, double goal) : m_what(what), m_limit(limit), m_goal(goal) {}

    void Add(double seconds, double limitSeconds)
    {
        m_times.push_back(seconds);
        m_limits.push_back(limitSeconds);
        m_ratios.push_back(limitSeconds > 0 ? seconds / limitSeconds : 0.0);
    }
    // The figure alone, against a goal in milliseconds (no limit).
    void AddAbsolute(double seconds) { Add(seconds, 0.0); }

    // "what: a / b / c ms; limit (what): ... ms; ratio ... (goal <= g: met)"
    void Print() const
    {
        std::printf("%s\n", m_what);
        std::printf("    time   %s ms\n", Spread(m_times, 1e3).c_str());
        if (HasLimit()) {
            std::printf("    limit  %s ms  (%s)\n", Spread(m_limits, 1e3).c_str(), m_limit);
            if (m_goal > 0)
                std::printf("    ratio  %s  goal <= %.1f: %s\n", Spread(m_ratios, 1).c_str(), m_goal,
                            Median(m_ratios) <= m_goal ? "met" : "NOT MET");
            else
                std::printf("    ratio  %s\n", Spread(m_ratios, 1).c_str());
        } else if (m_goal > 0) {
            std::printf("    goal   <= %.1f ms (%s): %s\n", m_goal, m_limit,
                        Median(m_times) * 1e3 <= m_goal ? "met" : "NOT MET");
        }
    }

    static double Median(std::vector<double> values)
    {
        if (values.empty()) return 0.0;
        std::sort(values.begin(), values.end());
        return values[values.size() / 2];
    }

private:
    bool HasLimit() const
    {
        return std::any_of(m_limits.begin(), m_limits.end(), [](double l) { return l > 0; });
    }
    // "min / median / max"
    static std::string Spread(std::vector<double> values, double scale)
    {
        if (values.empty()) return "-";
        std::sort(values.begin(), values.end());
        char text[96];
        std::snprintf(text, sizeof text, "%9.2f / %9.2f / %9.2f", values.front() * scale,
                      values[values.size() / 2] * scale, values.back() * scale);
        return text;
    }

    const char* m_what;
    const char* m_limit;
    double m_goal;
    std::vector<double> m_times, m_limits, m_ratios;
};
