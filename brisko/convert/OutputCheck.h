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
#include "brisko/convert/ToolDialog.h"
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
    // in the same check (a DMX output, or a file of ReadFirst).
    ToolReadBack(const CString& input, std::initializer_list<SuiteFileKind> kinds);

    // The road's chain, on which the outputs' stations are read (none: the
    // chain without breaks).  The chain is copied.
    void SetChain(const tkxBreakChain& chain) { m_chain = chain; }
    // A station a tool writes on a chain segment (from 1) of its input.
    void AddStation(double station, int segment);
    // A file written beforehand that the check reads first, named in
    // messages as `shownAs` (the shift tool's new ground line, written into
    // a temporary file of its own).
    void ReadFirst(const CString& path, SuiteFileKind kind, const CString& shownAs);
    // The input line of each line of an output (by its index), counted from
    // the output's first line as the file holds it (0: a line of no input
    // line).  A refusal at a line of the output then names that input line.
    void MapLines(size_t output, std::vector<int> inputLines);

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
    // One reading of all files on a chain; the reader's message when one
    // refuses, with the index of that file.
    CString ReadAll(const std::vector<File>& files, const tkxBreakChain& chain, size_t& refused) const;
    // The input line of the output line the message names; 0 when unknown.
    int InputLineOf(size_t output, const CString& message, const CString& shown) const;
    // The chain of the segments named by AddStation; FALSE when no station
    // lies on a segment after the first (or no chain can hold them).
    BOOL SegmentChain(tkxBreakChain& chain) const;

    CString m_input;
    std::vector<SuiteFileKind> m_kinds;
    std::vector<File> m_first;
    std::vector<std::vector<int>> m_lines; // by output
    tkxBreakChain m_chain;
    std::map<int, std::pair<double, double>> m_segments; // lowest and highest station
    CString m_message;
};

// Stations of a foreign input in the order of its lines: a station below
// the last one of the same chain segment (which the readers refuse) is
// found at its input line.
class StationOrder
{
public:
    // FALSE when the station lies below the last one of its segment.
    BOOL Next(double station, int segment = 1);
    // "第%d行桩号小于上一行桩号"
    static CString Falling(int lineNo);

private:
    std::map<int, double> m_last;
};

// "读输入文件%s\n\n第%d行桩号小于上一行桩号" at the current line of a converter's input.
CString FallingStation(const ToolSource& in);
