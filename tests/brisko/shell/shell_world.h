// The world of the shell tests: a seeded hive (every setting stored with a
// value other than its default, the associations marked as written) and a
// registered current project "演示 项目" with the roads "主线" (current,
// with break-chain, ground-line and vertical-curve files) and "匝道 A".
#pragma once
#include "brisko/support/BriskoWorld.h"

namespace shell_test {

using namespace brisko_test;

extern const wchar_t kProjectName[];
extern const wchar_t kMainRoad[];
extern const wchar_t kRampRoad[];

// The project's folder and the main road's files.
CString ProjectFolder();
CString RoadFile(const wchar_t* road, const wchar_t* ext);

// The seeded values.
const DWORD kSeededColors[12] = {0x101010, 0x202020, 0x303030, 0x404040, 0x505050, 0x606060,
                                 0x707070, 0x808080, 0x909090, 0xA0A0A0, 0xB0B0B0, 0xC0C0C0};
const RECT kSeededWindow = {20, 30, 960, 700};

// The road files as the world wrote them.
extern const char kDLText[];
extern const char kDMXText[];
extern const char kSQXText[];

} // namespace shell_test

class CDocument;

namespace shell_test {

// Opens a data file as the program does (a data-file document).
CDocument* OpenTestDocument(const CString& path);

} // namespace shell_test
