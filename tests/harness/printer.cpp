// A program of the harness's own check (tests/harness/check) that prints and
// then does not end, as a hung test program: it prints a line on its output,
// ending in the word given as its second argument, and one on its error
// output, then makes the file named by its first argument (relative to its
// current folder), and waits until that file is gone again, at most two
// minutes.
#include <windows.h>
#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 3) return 2;
    std::printf("printer: printed before the end %s\n", argv[2]);
    std::fflush(stdout);
    std::fprintf(stderr, "printer: error output before the end\n");
    std::fflush(stderr);
    HANDLE flag = CreateFileA(argv[1], GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (flag == INVALID_HANDLE_VALUE) return 3;
    CloseHandle(flag);
    for (int i = 0; i < 1200 && GetFileAttributesA(argv[1]) != INVALID_FILE_ATTRIBUTES; ++i) Sleep(100);
    return 0;
}
