// The world of the converter tests: the program's scratch world (the
// settings file "Brisko.ini" lies in its documents folder), the tools' clock
// fixed, and the fixtures: foreign files written by hand and the golden
// files of what the converters make of them, compiled into the test program
// (convert_fixtures.rc) and written out where a test needs them.  Both are
// kept as UTF-8 text with LF line ends; as files they are code page 936 with
// CR LF, as the foreign programs and the suite write them.
#pragma once
#include "brisko/support/BriskoWorld.h"
#include "corvane/road/BreakChain.h"
#include "corvane/road/Profile.h"
#include "support/MessageBoxScript.h"
#include "support/WindowTest.h"
#include <functional>
#include <string>
#include <vector>

namespace convert_test {

using namespace brisko_test;
using namespace test_support;

// The creation line every converted file carries in these tests.
extern const char kCreationLine[];

// The fixture's text as a file holds it (code page 936, CR LF).
std::string FixtureBytes(const char* name);
// Writes the fixture into the folder under its own name; its path.
CString PlaceFixture(const ScratchFolder& folder, const char* name);
// Writes a text (code page 936, CR LF) into the folder; its path.
CString PlaceText(const ScratchFolder& folder, const wchar_t* name, const wchar_t* text);
// The golden file's text as the output must hold it: "{input}" stands for
// the input's path.
std::string GoldenBytes(const char* name, const CString& input);
// A file's bytes as text for a failure message (code page 936).
std::string Shown(const std::string& bytes);
// Whether the file holds the golden file's text byte for byte; the failure
// shows both as text.
::testing::AssertionResult HoldsGolden(const CString& path, const char* golden, const CString& input);

// A refused conversion: the input text is written into the folder as
// "输入.txt" and each output is given an earlier text; the conversion must
// answer 0 with exactly one message, the format with the input's path (with
// the icon, when one is given), and leave every output as it was.
::testing::AssertionResult Refuses(const ScratchFolder& folder, const wchar_t* input,
                                   const std::function<int(const CString& input)>& convert, const wchar_t* message,
                                   const std::vector<CString>& outputs, UINT icon = 0);

// The same with the input's bytes as they stand (a zero byte, say).
::testing::AssertionResult Refuses(const ScratchFolder& folder, const std::string& inputBytes,
                                   const std::function<int(const CString& input)>& convert, const wchar_t* message,
                                   const std::vector<CString>& outputs, UINT icon = 0);

// The message of a conversion whose output the suite's reader refused, as
// Refuses takes it ("%s" for the input's path): the reader's message, in
// which the output's path is given as it stands, and the input line of the
// refused output line where the converter knows it (0: it does not).
CString ReadBackRefused(const CString& readerMessage, int inputLine = 0);

// The suite's readers on a converted file; each gives the number of items
// read (rows, units, grade points, ground points, sections), or -1 with the
// reader's message.
int LoadJD(const CString& path, CString& message);
int LoadICD(const CString& path, CString& message);
int LoadSQX(const CString& path, const tkxBreakChain& chain, CString& message);
int LoadDMX(const CString& path, tkxZDMInfo& profile, CString& message);
int LoadHDX(const CString& path, const tkxBreakChain& chain, const tkxZDMInfo* profile, CString& message);

// The 鸿业 and RICAD converters, members of their dialogs, which need not
// run: the input and the two outputs (RICAD: its layout and least width).
int RunHongYe(const CString& input, const CString& dmx, const CString& hdx);
int RunRICAD(const CString& input, const CString& dmx, const CString& hdx, int layout, double minWidth);

// A break chain from its text ("1300=1320").
tkxBreakChain Chain(const wchar_t* text);

// The texts of the message boxes shown, in order.
std::vector<CString> Texts(const MessageBoxScript& boxes);

} // namespace convert_test
