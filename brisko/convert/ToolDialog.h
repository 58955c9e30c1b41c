// What every tool dialog of the program shares: the remembered fields in
// "Brisko.ini" (one section per tool, the keys named after the dialog's
// members), the dialog frame (program icon, sketch picture, picker and viewer
// buttons, overwrite and closing questions), the pickers' derived default
// names, and what the converters share when they read other products' text
// files and write the suite's: the line reader with its number test, the two
// header lines and the outputs written through temporary files.
//
// A tool's work routine reads and checks its whole input first and writes
// nothing while it does; only then are its outputs written, each into a
// temporary file beside it, and put in place, all of them as one, when every
// one was written whole.  A failure at any step leaves the outputs of an
// earlier run as they were.
#pragma once
#include "classlib/ClassLib.h"
#include "brisko/convert/ToolLineReader.h"
#include "brisko/convert/ToolOutput.h"
#include "corvane/ui/IconButton.h"
#include "corvane/platform/FileReplace.h"
#include <functional>
#include <map>
#include <initializer_list>
#include <vector>

// Caption of the tools' message boxes ("TAVIX项目数据环境").
extern const wchar_t kToolCaption[];

// ---------------------------------------------------------------------------
// Settings: the tools' sections of "Brisko.ini".

extern const wchar_t kToolSettingsFile[]; // "Brisko.ini"

// The section names, one per tool (and per mode where a tool has modes).
namespace tool_section {
extern const wchar_t HDXFormat[];        // CDialog_HDXFormat
extern const wchar_t ImportHintRoad[];   // CDialog_Import_HintRoad
extern const wchar_t JGC[];              // CDialog_JGC
extern const wchar_t HintCAD_HDX[];      // CDialog_Transform_ZHDX, mode 0
extern const wchar_t RM_HDX[];           // CDialog_Transform_ZHDX, mode 1
extern const wchar_t HintCAD_ZDX[];      // CDialog_Transform_ZHDX, mode 10
extern const wchar_t RM_ZDX[];           // CDialog_Transform_ZHDX, mode 11
extern const wchar_t HongYe[];           // CDialog_TransformHongYeZHDX
extern const wchar_t RICAD[];            // CDialog_TransformRICAD
extern const wchar_t MoveData[];         // CDialog_MoveData
extern const wchar_t HintCAD_PM[];       // CDialog_Transform_HintCAD_PM
extern const wchar_t RMPM[];             // CDialog_Transform_RMPM
extern const wchar_t HintCAD_ZDM[];      // CDialog_Transform_SQX, mode 0
extern const wchar_t RM_ZDM[];           // CDialog_Transform_SQX, mode 1
} // namespace tool_section

enum class ToolValueType { Text, Int, Double };

struct ToolSettingKey {
    const wchar_t* name;
    ToolValueType type;
};

// One section of the table: the dialog class, the section and its keys in
// the order they are read and written.
struct ToolSettingSection {
    const wchar_t* dialogClass;
    const wchar_t* section;
    std::vector<ToolSettingKey> keys;
};

// Every tool's section (tools without one are not listed).
const std::vector<ToolSettingSection>& ToolSettingSections();
// The table's entry of a section; null for a name it does not hold.
const ToolSettingSection* FindToolSettingSection(const wchar_t* section);

// A member taking part in the exchange: a text, an int (also a 0/1 check
// box) or a double.
class ToolSettingValue
{
public:
    ToolSettingValue(CString& value) : m_type(ToolValueType::Text), m_value(&value) {}
    ToolSettingValue(int& value) : m_type(ToolValueType::Int), m_value(&value) {}
    ToolSettingValue(double& value) : m_type(ToolValueType::Double), m_value(&value) {}
    ToolValueType Type() const { return m_type; }
    void* Value() const { return m_value; }

private:
    ToolValueType m_type;
    void* m_value;
};

// "Brisko.ini" in the user's document folder of the suite.
CString ToolSettingsPath();

// The settings exchange of one dialog: get = 1 reads the keys of the section
// into the members (a missing key leaves the member as it is), get = 0 writes
// the members.  The members come in the order of the section's keys in the
// table; FALSE, with nothing read or written, for a section the table does
// not hold or members that do not match its keys in number and type.
BOOL ExchangeToolSettings(int get, const wchar_t* section, std::initializer_list<ToolSettingValue> values);

// ---------------------------------------------------------------------------
// Files and names.

// Whether a file (not a folder) of that path exists.
BOOL ToolFileExists(const CString& path);

// The derived default of a picker: the folder of `path`, a backslash, its
// title and the extension (with its point: ".DMX").
CString ToolDerivedPath(const CString& path, const wchar_t* extension);

// Opens a generated or input file as a data-file document of the editor;
// nothing for an empty path.  FALSE when it did not open.
BOOL OpenToolDocument(const CString& path);

// Defaults from the project: "<folder>\<road name><extension>" of the
// application's current project and its current road, the road's folder
// (GetRoadDirectory) or the working directory (GetWorkingDirectory with the
// current road's name), as the tools' openers form them.  The names are
// formed whatever the current-road index (a project without a current road
// gives its own folder and an empty name).
CString CurrentRoadFile(const wchar_t* extension);
CString WorkingRoadFile(const wchar_t* extension);

// After a tool changed files of the current road: the main window reloads
// them and rebuilds its file tree (WM_PROJECTCHANGED); nothing without a
// main window.
void NotifyRoadFilesChanged();

// The closing question (caption kToolCaption, Yes/No with the question
// icon); Yes opens each of the files, in order, as editor documents.
void AskOpenGenerated(const wchar_t* question, std::initializer_list<CString> files);

// ---------------------------------------------------------------------------
// Messages.

// The tool's box on a dialog: caption kToolCaption, the information icon (or
// the given type); owned by the dialog's window when it has one.
int ShowToolMessage(CWnd* dialog, const CString& text, UINT type = MB_ICONINFORMATION);

// The application's box (AfxMessageBox) with the information icon: how the
// HintCAD converters, which the road import calls without a dialog, tell
// their errors.  Nothing for an empty text.
void ShowApplicationMessage(const CString& text);

// ---------------------------------------------------------------------------
// The dialog frame.

class CToolDialog : public CDialog
{
public:
    // The sketch (bitmap 15000) is loaded here and deleted with the dialog's
    // window, or with the object when the dialog never ran.
    CToolDialog(UINT templateId, CWnd* parent, HINSTANCE caller = ClCallerModule());
    ~CToolDialog() override;

    HBITMAP GetSketch() const { return m_hSketch; }

    // The buttons of a tool with one input and one output: the input's
    // viewer (IDC_TOOL_VIEW_INPUT), the output's picker (IDC_TOOL_PICK_OUTPUT)
    // and the input's picker (IDC_TOOL_PICK_INPUT), both pickers with the tip
    // 59415 "选择数据文件".
    struct InOutButtons {
        tkxIconButton viewInput;
        tkxIconButton pickOutput;
        tkxIconButton pickInput;
        // Binds the three (DDX_Control).
        void Exchange(CDataExchange* pDX);
        // Their icons and tips.
        void Setup();
    };

protected:
    // The base's start, the program icon as the big icon, the sketch in
    // the picture control IDC_TOOL_SKETCH ("加载位图资源失败!" when it did
    // not load).  Tools then read their settings, set up their buttons and
    // texts and call UpdateData(FALSE).
    BOOL OnInitDialog() override;
    void OnDestroy();

    // Buttons: pickers get icons 15213/15211, viewers 15212/15210; the tip
    // is a string of the string table or a text.
    static void SetupPicker(tkxIconButton& button, UINT tipId);
    static void SetupPicker(tkxIconButton& button, const wchar_t* tip);
    static void SetupViewer(tkxIconButton& button, UINT tipId = 59400);

    // A picker: the fields are read, then the file dialog (open = 1 for an
    // input, 0 for an output) runs on `path`.  TRUE when a file was chosen;
    // the caller then forms its derived defaults and shows the fields with
    // UpdateData(FALSE).
    BOOL PickFile(int open, CString& path, const wchar_t* extension, const wchar_t* filter, const wchar_t* title);
    // A viewer: nothing for an empty path; a missing file gives the
    // formatted message (with the path) when one is given; otherwise the
    // file opens in the editor.  The caller reads the fields first.
    void ViewFile(const CString& path, const wchar_t* missingFormat = nullptr);
    // The overwrite question for an existing file (Yes/No, question icon):
    // TRUE to go on (the file does not exist, or Yes).
    BOOL ConfirmOverwrite(const CString& path, const CString& question, const wchar_t* caption = nullptr);

    DECLARE_MESSAGE_MAP()

private:
    HBITMAP m_hSketch = nullptr;
};

// ---------------------------------------------------------------------------
// Reading foreign text files.

// The program's number test and the suite readers' rule at once: TRUE with
// the value when the token is a plain number both take (digits with at most
// one point, an optional sign; no exponent, no other character).
BOOL ReadToolNumber(const CString& token, double* value);

// A foreign input as the converters read it: its data lines, each split
// into tokens, with the messages that name the file, the line, the token's
// position and the field.
class ToolSource
{
public:
    explicit ToolSource(const wchar_t* path) : m_path(path ? path : L"") {}

    const CString& Path() const { return m_path; }
    // FALSE when the file cannot be opened for reading.
    BOOL Open() { return m_reader.Open(m_path); }
    // Closes the input once it was read, before any output is written (an
    // output may replace the input itself).
    void Close() { m_reader.Close(); }
    // 1 with the next data line split into its tokens, 0 at the end of the
    // file (the line stays the last one read), -1 at a line the reader
    // refuses.
    int Next();
    // The next data line with at least `least` tokens; FALSE with the
    // message LineFailed at the end of the file or at a refused line, TooFew
    // at a line of fewer tokens.
    BOOL NextData(int least, CString& message);
    // The splitter's answer for the current line (-1: it does not split).
    int SplitResult() const { return m_split; }
    const CString& Line() const { return m_line; }
    int LineNo() const { return m_reader.LineNo(); }
    int Count() const { return static_cast<int>(m_tokens.GetSize()); }
    // Token at a 1-based position.
    const CString& Token(int position) const { return m_tokens[position - 1]; }
    CStringArray& Tokens() { return m_tokens; }

    // "读输入文件%s\n\n第%d行失败!"
    CString LineFailed() const;
    // "读输入文件%s\n\n第%d行失败! 数据个数少于%d个\n\n[%s]"
    CString TooFew(int least) const;
    // "读输入文件%s\n\n第%d行第%d个数据[%s:%s]失败!" for the token at the position.
    CString FieldFailed(int position, const wchar_t* field) const;
    // The token at the position as a number (ReadToolNumber); FALSE with
    // FieldFailed in message when it is none.
    BOOL Number(int position, const wchar_t* field, double* value, CString& message) const;

private:
    CString m_path;
    ToolLineReader m_reader;
    CString m_line;
    CStringArray m_tokens;
    int m_split = 0;
};

// Passes over the data lines whose first token contains "HINTCAD" (HintCAD's
// title lines) to the first other one, which is then the current line;
// FALSE with the message at the end of the file or at a line without
// tokens.
BOOL SkipHintCADLines(ToolSource& in, CString& message);

// A value that passed the number test as a whole number (truncated, held
// within the range of int).
int ToolWholeNumber(double value);

// Station texts of other products.
//
// A HintCAD station field may carry a chain letter (A = 1, B = 2, ...) that
// names its chain segment; `chain` is the current chain number (1 at the
// start of a file) and carries over from field to field.  The letters A to Z
// are tried in order: a letter that occurs (either case) is removed wherever
// it stands; when it is the current chain's letter the search goes on,
// otherwise the chain becomes the letter's and the search ends (later
// letters stay in the text).  A "K" followed by a digit is the kilometre
// prefix ("K12+345"), never a chain letter.  Returns the text left.
CString ChainLetterStation(const CString& field, int& chain);

// A station text as plain metres, the form the profile readers take: a plain
// number as it stands; a kilometre form "K12+345.6" (the "K" optional) as
// "12345.6", with the decimals it was written with.  FALSE for any other
// text.
BOOL PlainStationText(const CString& text, CString& plain);

// The station field of a profile ground-line or vertical-curve line: the
// plain station, "_n" for a chain after the first, and "_1" when the chain
// returns to the first after a later one (the profile readers carry a chain
// number on to the lines that name none).  lastChain is the chain of the
// line written before (1 at the start of a file).
CString ChainedStationText(const CString& plain, int chain, int& lastChain);

// Stations of a foreign input in the order of its lines: a station below
// the last one of the same chain segment (which the suite's readers refuse)
// is found at its input line.
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

// ---------------------------------------------------------------------------
// Writing the suite's files.

// The clock of the "//创建时间" header line: null is the system's local time;
// a time given here is used instead (tests fix it).
void SetToolClock(const SYSTEMTIME* fixed);
// "//创建时间:%d年%d月%d日 %d:%d:%d\n" of the tool clock.
CString ToolCreationLine();
// The two header lines of a converted file: the first line's format
// ("//转换...:%s\n") with the input path, then the creation line.
CString ToolHeader(const wchar_t* firstLine, const CString& input);

// Writes each text as 8-bit text of the system code page with CR LF line
// ends into a temporary file beside its output (with the output's
// extension for the temporary file, when it has one), then puts the
// temporary files in place as one set (tkx_ReplaceSetByTemporaries): every
// output or none.  1 on success; 0 when a file could not be written or put
// in place, with *failed the index of that output: every output is left as
// it was, and no temporary or backup file stays behind, but for what *left
// names (an output that another program kept from getting its original
// back, with the backup that holds it; tkx_SetFailureText with *left gives
// the message).  A check that refuses the written files gives 0 with
// *failed -1.  An output the user marked read-only fails the run before
// anything is written.  A backup that could not be removed is named in the
// information window ("无法删除输出文件%s的备份文件%s!").
int WriteToolOutputs(const std::vector<ToolOutput>& outputs, int* failed = nullptr,
                     const ToolOutputsCheck& check = nullptr, tkxSetLeftovers* left = nullptr);

// The run of a converter with one output: the input is opened ("打开输入文件
// 失败!\n\n%s"), read whole by `read`, which gives the text that follows the
// header lines or a message (an empty one ends without a message), then the
// output is written: the header lines of firstLine and that text ("创建输出
// 文件失败!\n\n%s"), read back through `readBack` before it replaces the
// output (a refusal tells the read-back's message; the lines that `read`
// maps are counted after the header lines).  Messages go to `tell`.  1 on
// success.
class ToolReadBack;
using ToolReader = std::function<BOOL(ToolSource& in, CString& text, CString& message)>;
using ToolTeller = std::function<void(const CString& message)>;
int RunToolConversion(const CString& input, const CString& output, const wchar_t* firstLine, const ToolReader& read,
                      const ToolTeller& tell, ToolReadBack& readBack);

// A file copied unchanged through a temporary file beside the target, put
// in place as WriteToolOutputs puts its outputs; 0 when it could not be read,
// written or put in place, or the check refused the copy (the target as it
// was).
int CopyToolFile(const CString& from, const CString& to, const ToolOutputsCheck& check = nullptr);

// "文件%s中没有可转换的数据!": a tool that read no record from an input (an
// empty file, one of comments only, one whose every line was passed over)
// says so with the input's path, writes nothing and answers 0.
CString NoToolDataText(const CString& input);
