// Stand-in for the CAD host's program "acad.exe": a process of that name that
// does nothing.  It ends when it is killed or after the number of seconds
// given as its first argument (60 without one), so that it never outlives a
// test run.
#include <windows.h>
#include <cstdlib>

int main(int argc, char** argv)
{
    int seconds = argc > 1 ? std::atoi(argv[1]) : 60;
    if (seconds <= 0 || seconds > 600) seconds = 60;
    Sleep(static_cast<DWORD>(seconds) * 1000);
    return 0;
}
