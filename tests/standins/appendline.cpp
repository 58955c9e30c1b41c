// Stand-in for another program that changes a data file: appends one line
// to a file in a single write and ends.
//
//   appendline FILE TEXT
//
// Exit code 0 when the line was written whole, 1 otherwise.
#include <windows.h>
#include <cstring>
#include <string>

int main(int argc, char** argv)
{
    if (argc != 3) return 1;
    HANDLE file = CreateFileA(argv[1], FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 1;
    const std::string line = std::string(argv[2]) + "\r\n";
    DWORD written = 0;
    const BOOL ok = WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    CloseHandle(file);
    return ok && written == line.size() ? 0 : 1;
}
