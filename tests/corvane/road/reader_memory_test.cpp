// The memory a reader makes resident: the structure reader reserves room
// for the most records its file may hold, and only the room its records
// fill (and a bounded stretch beyond, touched ahead of them) becomes
// resident, however much room was reserved.
#include "corvane/base/ArrayStorage.h"
#include "corvane/base/LastError.h"
#include "corvane/base/PagesAhead.h"
#include "corvane/road/BreakChain.h"
#include "corvane/road/Structures.h"
#include "road_test_support.h"

#include <psapi.h>

#include <functional>
#include <string>
#include <vector>

using road_test::ScratchFolder;
using road_test::Utf8;

namespace {

// How many pages of [begin, begin + bytes) are in the process's working set.
size_t ResidentPages(const void* begin, size_t bytes)
{
    const size_t page = 4096;
    char* const first = static_cast<char*>(const_cast<void*>(begin));
    std::vector<PSAPI_WORKING_SET_EX_INFORMATION> pages(bytes / page);
    for (size_t i = 0; i < pages.size(); ++i) pages[i].VirtualAddress = first + i * page;
    if (!::QueryWorkingSetEx(::GetCurrentProcess(), pages.data(), static_cast<DWORD>(pages.size() * sizeof pages[0])))
        return ~size_t(0);
    size_t resident = 0;
    for (const PSAPI_WORKING_SET_EX_INFORMATION& info : pages) resident += info.VirtualAttributes.Valid;
    return resident;
}

} // namespace

// Structure files of lines about five times as long as the shortest ones
// (the reader reserves a record for every 40 bytes): the records fill a
// fifth of the room, and what is resident of the room is what they fill
// and at most the stretch touched ahead of them, however long the reading
// takes.
TEST(ReaderMemory, StructureRecordsLeaveTheRoomTheyDoNotFillUntouched)
{
    ScratchFolder folder(L"reader_memory");
    // Culverts with long names, and bridges of many spans, which take longer
    // to read.
    const std::string name(150, 'N');
    std::string spans = "20";
    for (int i = 1; i < 60; ++i) spans += "+20";
    const struct {
        const char* what;
        int structures;
        std::function<std::string(int)> line;
    } cases[] = {
        {"culverts", 60000,
         [&](int i) {
             return "1 " + name + std::to_string(i) + " " + std::to_string(1000 + i * 10) +
                    " 12d30'00.0\" 2.0 3.5 3.5 2.5 100.0 R\r\n";
         }},
        {"bridges", 30000,
         [&](int i) {
             return "0 B" + std::to_string(i) + " " + std::to_string(1000 + i * 10) + " 0 2 3 " + spans +
                    " T 0.5 1.5\r\n";
         }},
    };
    const tkxBreakChain chain;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::string text;
        for (int i = 0; i < c.structures; ++i) text += c.line(i);
        const CString path = folder / L"large.GZX";
        road_test::WriteBytes(path, text);

        CArray<Tavix4::sQHInfo, Tavix4::sQHInfo> records;
        ASSERT_EQ(1, tkx_ReadQHFile(path, chain, records)) << Utf8(tkx_GetLastError());
        ASSERT_EQ(c.structures, records.GetSize());
        const std::vector<Tavix4::sQHInfo>& room = array_storage::ElementsOf(records);
        const size_t roomBytes = room.capacity() * sizeof(Tavix4::sQHInfo);
        const size_t filledBytes = room.size() * sizeof(Tavix4::sQHInfo);
        ASSERT_GE(roomBytes, 4 * filledBytes);
        const size_t resident = ResidentPages(room.data(), roomBytes) * 4096;
        EXPECT_LE(resident, filledBytes + PagesAhead::kAhead + PagesAhead::kLead + 2 * 4096)
            << "of " << roomBytes << " bytes reserved, " << filledBytes << " filled";
        EXPECT_GE(resident, filledBytes - 4096);
    }
}
