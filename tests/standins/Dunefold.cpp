// Stand-in for the suite's terrain-mesh editor: records how it was started
// and ends.
//
//   Dunefold [--log FILE] [--seconds N] [FILE]
//
// Without --log the records go to the program's own path plus ".log" (for a
// copy started from a scratch installation's Bin folder).  It ends at once
// after its records, or after N seconds when --seconds is given.
//
// Records (see standin_common.h):
//   READY <process id>
//   COMMANDLINE <text>   the whole command line as the program received it
//   FILE <text>          the first argument that is no option
#include "standin_common.h"

int main()
{
    static standin::Args args;
    standin::ParseCommandLine(args);
    standin::SetLogPath(args);
    standin::RecordText("COMMANDLINE", GetCommandLineW());
    for (int i = 0; i < args.count; ++i) {
        if (wcsncmp(args.items[i], L"--", 2) == 0) {
            ++i;
            continue;
        }
        standin::RecordText("FILE", args.items[i]);
        break;
    }
    standin::AnnounceReady();
    if (args.Value(L"--seconds")) return standin::RunLoop(standin::LifeSeconds(args, 1));
    return 0;
}
