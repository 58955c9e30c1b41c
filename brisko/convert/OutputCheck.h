// A tool's success means the suite can read what it wrote: once a tool's
// temporary outputs are written, and before any of them replaces its
// output, each is read back through the suite's reader of its format.  A
// refusal stops the tool with the reader's message; the outputs stay as they
// were.
//
// Stations are read on the chain the tool knows (the road's, for the tools
// that work on a road; none for the converters).  Stations that foreign
// files put on later chain segments ("120_2") are read a second time on a
// chain made of those segments, one after the other: a file that either
// reading takes is accepted, since the road that the file is meant for has
// a chain the converter does not know.
#pragma once
#include "brisko/convert/ToolOutput.h"
#include "corvane/road/BreakChain.h"
#include <initializer_list>
#include <map>
#include <utility>
#include <vector>

// The suite's files a tool writes.
enum class SuiteFileKind { JD, ICD, SQX, DMX, HDX };

class ToolReadBack
{
public:
    // The input named in the messages, and the kind of each output, in the
    // order of the outputs given to WriteToolOutputs.  A cross-section file
    // in the "ABS" layout reads with the profile ground line read before it
    // in the same check (a DMX output before it).
    ToolReadBack(const CString& input, std::initializer_list<SuiteFileKind> kinds);

    // The road's chain, on which the outputs' stations are read (none: the
    // chain without breaks).  The chain is copied.
    void SetChain(const tkxBreakChain& chain) { m_chain = chain; }
    // A station a tool writes on a chain segment (from 1) of its input.
    void AddStation(double station, int segment);
    // The input line of each line of the tool's text for an output (by its
    // index), from its first line (0: a line of no input line).  A refusal
    // at a line of the output then names that input line.
    void MapLines(size_t output, std::vector<int> inputLines);
    // The lines a writer puts before the tool's text in the output (the
    // header lines of a converted file), which MapLines does not count.
    void SetHeaderLines(size_t output, int count);

    // The extension an output's temporary file carries so that its reader
    // takes it where it lies (ToolOutput::extension): ".ICD" for a unit
    // file, none for the others.
    const wchar_t* TemporaryExtension(size_t output) const;

    // The check for WriteToolOutputs and CopyToolFile.
    ToolOutputsCheck Check();
    // Reads the files now: TRUE when every one was taken.
    BOOL Read(const std::vector<ToolOutput>& outputs, const std::vector<CString>& temporaries);

    BOOL Refused() const { return !m_message.IsEmpty(); }
    // "转换结果无法被读回, 输出文件保持原样!\n\n输入文件: %s\n\n%s": the input
    // and the reader's message, which names the output (not its temporary
    // file); "输入文件: %s, 第%d行" where the input line of the output's line
    // the reader names is known.  Empty unless refused.
    const CString& Message() const { return m_message; }

private:
    struct File {
        CString path;   // the file read
        CString shown;  // the name in messages
        SuiteFileKind kind;
    };
    // What a reader refused: its message, the file (by index) and the
    // file's line it names (0: none).
    struct Refusal {
        CString message;
        size_t file = 0;
        int line = 0;
    };
    // One reading of all files on a chain; false with the refusal when one
    // refuses.
    bool ReadAll(const std::vector<File>& files, const tkxBreakChain& chain, Refusal& refusal) const;
    // The input line of an output's line; 0 when unknown.
    int InputLineOf(size_t output, int line) const;
    // The chain of the segments named by AddStation; FALSE when no station
    // lies on a segment after the first (or no chain can hold them).
    BOOL SegmentChain(tkxBreakChain& chain) const;

    CString m_input;
    std::vector<SuiteFileKind> m_kinds;
    std::vector<std::vector<int>> m_lines; // by output
    std::vector<int> m_headerLines;        // by output
    tkxBreakChain m_chain;
    std::map<int, std::pair<double, double>> m_segments; // lowest and highest station
    CString m_message;
};
