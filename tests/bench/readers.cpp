// Throughput of the library's data-file readers, three runs, each against
// the machine's limits for the same file measured in the same run: every
// number of the file converted from the file's bytes in memory, once with
// std::from_chars (the limit the goals are set against) and once with the
// library's own exact conversion (number_text, compiled in here), which is
// quicker still.  A ratio of 1 would be a reader that costs no more than
// converting its numbers; the goal is 3 or less.  Also times cross-section
// files of growing size and the placing of sections on an alignment, per
// section, to show that both stay linear.
//
// Run by hand from a scratch folder: bench_readers.exe [repeats [only]]
// The files are written into the current folder; with "only" (such as
// ".DL") just the readers whose name begins so are measured.  Each figure of
// a run is the best of `repeats` (5) tries taken in turns with its limits.
#include "corvane/base/FixedSizePool.h"
#include "corvane/base/LastError.h"
#include "corvane/project/StationList.h"
#include "corvane/base/TextLines.h"
#include "corvane/road/BreakChain.h"
#include "corvane/road/HdxFile.h"
#include "corvane/road/JDFile.h"
#include "corvane/road/Profile.h"
#include "corvane/road/Road.h"
#include "corvane/road/Structures.h"
#include "BenchClock.h"
// The library's own number conversion, which the library does not export:
// compiled into the benchmark for the second limit.
#include "corvane/base/NumberText.cpp"

#include <algorithm>
#include <charconv>
#include <cstdarg>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

int g_repeats = 5;
std::string g_only;
volatile double g_sink = 0.0;

// ------------------------------------------------------------ the files

std::string Format(const char* format, ...)
{
    char buffer[512];
    va_list args;
    va_start(args, format);
    std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    return buffer;
}

void WriteFile(const char* name, const std::string& bytes)
{
    std::ofstream out(name, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string ReadFile(const char* name)
{
    std::ifstream in(name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string BreakChainFile(int breaks)
{
    std::string text = "// back ahead\r\n";
    for (int i = 0; i < breaks; ++i) {
        const double back = i * 100.0 + 50.125;
        text += Format("%.3f %.3f\r\n", back, back + 10.5);
    }
    return text;
}

std::string VerticalCurveFile(int points)
{
    std::string text = "0.000 100.000\r\n";
    for (int i = 1; i < points; ++i) text += Format("%.3f %.3f %.3f\r\n", i * 100.0, 100.0 + (i % 2) * 0.5, 1000.0);
    return text;
}

std::string GroundLineFile(int points)
{
    std::string text;
    for (int i = 0; i < points; ++i) text += Format("%.3f %.3f\r\n", i * 2.5, 100.0 + (i % 17) * 0.31);
    return text;
}

// Relative layout: station line, then each side as offset and elevation
// steps, a water stretch now and then.
std::string CrossSectionFile(int sections, int pointsPerSide)
{
    std::string text;
    for (int s = 0; s < sections; ++s) {
        text += Format("%.3f\r\n", 100.0 + s * 20.0);
        for (int side = 0; side < 2; ++side) {
            for (int p = 0; p < pointsPerSide; ++p) {
                const char* mark = (s % 10 == 0 && p == 3) ? "[W" : (s % 10 == 0 && p == 5) ? "W]" : "";
                text += Format("%s%.3f %.3f ", mark, 0.5 + (p % 7) * 0.25, ((p + s) % 9 - 4) * 0.125);
            }
            text += "\r\n";
        }
    }
    return text;
}

// Units as the unit-file writer puts them: straight, spiral in, arc,
// spiral out, over and over.
std::string UnitFile(int groups)
{
    std::string text = "0.000000\r\n3000000.000000, 500000.000000, 0.7853981634\r\n";
    for (int g = 0; g < groups; ++g) {
        const int turn = g % 2 ? 1 : -1;
        text += Format("1, %.20f\r\n", 100.0 + g % 5);
        text += Format("3, %.20f, %.20f, %d\r\n", 300.0, 900.0, turn);
        text += Format("2, %.20f, %.20f, %d\r\n", 900.0, 150.0 + g % 3, turn);
        text += Format("4, %.20f, %.20f, %d\r\n", 300.0, 900.0, turn);
    }
    text += "0, 0, 0\r\n";
    return text;
}

std::string IntersectionFile(int rows)
{
    std::string text = "-1 3000000.0000000000 500000.0000000000 0.000000\r\n";
    for (int i = 1; i < rows - 1; ++i)
        text += Format("3 %.10f %.10f -1.0000000000 L%.10f %.10f L%.10f -1.0000000000\r\n", 3000000.0 + i * 400.0,
                       500000.0 + (i % 2) * 150.0, 80.0, 600.0, 80.0);
    text += Format("-2 %.10f %.10f\r\n", 3000000.0 + rows * 400.0, 500000.0);
    return text;
}

std::string StructureFile(int lines)
{
    std::string text = "// structures\r\n";
    for (int i = 0; i < lines; ++i) {
        if (i % 2)
            text += Format("3 T%d %.3f %.3f 6.5\r\n", i, 1000.0 + i * 50.0, 30.0 + i % 7);
        else
            text += Format("1 C%d %.3f 12d30'00.0\" 2.0 3.5 3.5 2.5 %.3f R\r\n", i, 1000.0 + i * 50.0, 100.0 + i % 13);
    }
    return text;
}

std::string StationListFile(int lines)
{
    std::string text;
    for (int i = 0; i < lines; ++i) text += Format("K%d+%07.3f\r\n", i / 40, (i % 40) * 25.0 + 0.125);
    return text;
}

// ------------------------------------------------------------ measuring

// The limits: every number of the file converted with std::from_chars,
// or with the library's own conversion (a token it does not take as a whole
// number goes to std::from_chars, so that both convert the same numbers).
// Fields end at blanks, tabs, commas and line ends, and at the "+" and "_"
// of station texts; marks before a number ("K", "[W", "L", ...) are
// stepped over.
double ConvertAll(const std::string& bytes, int& numbers, bool own)
{
    double sum = 0.0;
    numbers = 0;
    const char* p = bytes.data();
    const char* const end = p + bytes.size();
    auto isSeparator = [](char c) {
        return c == ' ' || c == '\t' || c == ',' || c == '\r' || c == '\n' || c == '+' || c == '_';
    };
    while (p < end) {
        while (p < end && isSeparator(*p)) ++p;
        const char* start = p;
        while (p < end && !isSeparator(*p)) ++p;
        while (start < p && !((*start >= '0' && *start <= '9') || *start == '-' || *start == '.')) ++start;
        double value = 0.0;
        if (start < p && ((own && number_text::ReadNumber(start, static_cast<size_t>(p - start), value)) ||
                          std::from_chars(start, p, value).ec == std::errc())) {
            sum += value;
            ++numbers;
        }
    }
    return sum;
}

// Best of the repeats of each run, in seconds; the runs take turns, so that
// all meet the machine in the same state.  `between`, if given, is done
// (untimed) after each turn.
std::vector<double> BestOfEach(const std::vector<std::function<void()>>& runs,
                               const std::function<void()>& between = {})
{
    std::vector<double> best(runs.size(), 1e30);
    for (int i = 0; i < g_repeats; ++i) {
        for (size_t k = 0; k < runs.size(); ++k) {
            const Clock::time_point start = Clock::now();
            runs[k]();
            best[k] = std::min(best[k], std::chrono::duration<double>(Clock::now() - start).count());
        }
        if (between) between();
    }
    return best;
}

std::pair<double, double> BestOfBoth(const std::function<void()>& first, const std::function<void()>& second)
{
    const std::vector<double> best = BestOfEach({first, second});
    return {best[0], best[1]};
}

double Best(const std::function<void()>& run)
{
    return BestOfBoth(run, [] {}).first;
}

// What a reader loaded lives on until the reader's figures are taken, so
// that freeing it is not timed as reading.
std::vector<std::function<void()>> g_graveyard;

template <class T, class... Args> T& Kept(Args&&... args)
{
    T* object = new T(std::forward<Args>(args)...);
    g_graveyard.push_back([object] { delete object; });
    return *object;
}

void FreeKept()
{
    for (const std::function<void()>& free : g_graveyard) free();
    g_graveyard.clear();
}

bool g_failed = false;

void Check(bool ok, const char* what)
{
    if (ok) return;
    g_failed = true;
    std::printf("!! %s failed: %ls\n", what, tkx_GetLastError().GetString());
}

bool Selected(const char* name) { return std::string(name).compare(0, g_only.size(), g_only) == 0; }

// What is done, untimed, around a reader's tries: before each run, and
// after each try.  By default what the reader loaded is kept until the run
// ends.
// `label` says what the figure times when a reader is measured more than once.
struct Around {
    std::function<void()> beforeRun;
    std::function<void()> afterTry;
    std::string label;
};

// Writes the file, then measures the limits and the reader on it in three
// runs.
void Report(const char* name, const char* file, const std::function<std::string()>& make,
            const std::function<void()>& read, const Around& around = {})
{
    if (!Selected(name)) return;
    WriteFile(file, make());
    const std::string bytes = ReadFile(file);
    int numbers = 0, ownNumbers = 0;
    std::string what = std::string(name) + " reader, " + std::to_string(bytes.size() / 1000) + " kB";
    if (!around.label.empty()) what += ", " + around.label;
    Row againstStd(what.c_str(), "every number converted with std::from_chars", 3);
    Row againstOwn("  the same reader", "every number converted with the library's own conversion", 0);
    for (int run = 0; run < 3; ++run) {
        if (around.beforeRun) around.beforeRun();
        const std::vector<double> best = BestOfEach({[&] { g_sink = g_sink + ConvertAll(bytes, numbers, false); },
                                                     [&] { g_sink = g_sink + ConvertAll(bytes, ownNumbers, true); },
                                                     read},
                                                    around.afterTry);
        FreeKept();
        againstStd.Add(best[2], best[0]);
        againstOwn.Add(best[2], best[1]);
    }
    if (numbers != ownNumbers) std::printf("!! the two conversions took %d and %d numbers\n", numbers, ownNumbers);
    std::printf("%d numbers\n", numbers);
    againstStd.Print();
    againstOwn.Print();
}

} // namespace

int main(int argc, char** argv)
{
    if (argc > 1) g_repeats = std::max(1, std::atoi(argv[1]));
    if (argc > 2) g_only = argv[2];
    std::printf("readers against converting the same file's numbers, 3 runs (each the best of %d tries); times and "
                "ratios as min / median / max\nload average %s\n\n",
                g_repeats, LoadAverage().c_str());

    Report(".DL break chain", "bench.DL", [] { return BreakChainFile(100000); }, [] {
        Check(Kept<tkxBreakChain>().LoadDLFile(L"bench.DL") == 1, ".DL");
    });

    const tkxBreakChain plain;
    Report(".SQX vertical curves", "bench.SQX", [] { return VerticalCurveFile(100000); }, [&] {
        Check(Kept<tkxZDMInfo>(&plain).LoadSQXFile(L"bench.SQX") == 1, ".SQX");
    });

    Report(".DMX ground line", "bench.DMX", [] { return GroundLineFile(300000); }, [&] {
        Check(Kept<tkxZDMInfo>(&plain).LoadDMXFile(L"bench.DMX") == 1, ".DMX");
    });

    Report(".HDX 100 points a side", "bench100.HDX", [] { return CrossSectionFile(5000, 100); }, [&] {
        Check(Kept<tkxHDMTerrain>(&plain).LoadHDXFile(L"bench100.HDX") == 1, ".HDX");
    });

    Report(".HDX 5 points a side", "bench5.HDX", [] { return CrossSectionFile(100000, 5); }, [&] {
        Check(Kept<tkxHDMTerrain>(&plain).LoadHDXFile(L"bench5.HDX") == 1, ".HDX");
    });

    // The units' memory: the pools keep up to kKeptBlocks emptied blocks of
    // 1 MB each, so a load that follows a freed one (the program reloads a
    // road's units on every change of the road or its watched files) finds
    // its memory already touched, while the first load faults in fresh
    // pages.  Both are measured.  For the first load, every load of a run is
    // kept, and the kept empty blocks are used up before the run by loads
    // enough to fill them (one load takes more than a block of each unit
    // pool).
    const auto loadKept = [] { Check(Kept<tkxRoadObject>().LoadICDFile(L"bench.ICD") == 1, ".ICD"); };
    Report(".ICD alignment units", "bench.ICD", [] { return UnitFile(10000); }, loadKept,
           Around{[&] {
                      for (size_t i = 0; i < FixedSizePool::kKeptBlocks; ++i) loadKept();
                  },
                  {}, "first load, into fresh memory"});
    Report(".ICD alignment units", "bench.ICD", [] { return UnitFile(10000); }, loadKept,
           Around{{}, FreeKept, "reload, into the memory the load before freed"});

    Report(".JD intersection rows", "bench.JD", [] { return IntersectionFile(100000); }, [] {
        CStdioFile in(L"bench.JD", CFile::modeRead | CFile::typeText);
        CString line, message;
        int lineNo = 0;
        tkxPlaneCurve3 curve;
        while (tkx_ReadNextStringST(&in, line, lineNo) == 1) Check(curve.ReadJDFile(line, message) == 1, ".JD");
    });

    Report(".GZX structures", "bench.GZX", [] { return StructureFile(50000); }, [&] {
        Check(tkx_ReadQHFile(L"bench.GZX", plain, Kept<CArray<Tavix4::sQHInfo, Tavix4::sQHInfo>>()) == 1, ".GZX");
    });

    Report(".ST station list", "bench.ST", [] { return StationListFile(300000); }, [&] {
        Check(tkx_ReadSTFile(L"bench.ST", &plain, Kept<CArray<double, double>>()) == L"文件结束", ".ST");
    });

    std::printf("load average at the end %s\n", LoadAverage().c_str());
    if (!Selected("grow")) return g_failed ? 1 : 0;
    std::printf("\ncross-section files, 100 points a side: time per section\n");
    for (int sections : {2500, 5000, 10000, 20000}) {
        WriteFile("grow.HDX", CrossSectionFile(sections, 100));
        const double seconds = Best([&] { Check(Kept<tkxHDMTerrain>(&plain).LoadHDXFile(L"grow.HDX") == 1, "growing .HDX"); });
        FreeKept();
        std::printf("%6d sections  %8.2f us a section\n", sections, seconds / sections * 1e6);
    }

    std::printf("\nplacing sections on an alignment of 1 km: time per section off the alignment\n");
    WriteFile("place.ICD", "0\r\n3000000, 500000, 0\r\n1, 1000\r\n0, 0, 0\r\n");
    for (int off : {5000, 10000, 20000}) {
        // The first 46 sections lie on the alignment, the rest beyond its end.
        WriteFile("place.HDX", CrossSectionFile(off + 46, 3));
        tkxRoadObject road;
        Check(road.LoadICDFile(L"place.ICD") == 1, "placing .ICD");
        const double seconds = Best([&] { Check(road.LoadHDXFile(L"place.HDX", 1) == 1, "placing .HDX"); });
        std::printf("%6d off      %8.2f us a section\n", off, seconds / (off + 46) * 1e6);
    }
    return g_failed ? 1 : 0;
}
