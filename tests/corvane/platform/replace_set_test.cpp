// Files that belong together replaced as one set: every target gets its new
// file, or, when any step fails, every target stays as it was byte for byte
// and no temporary or backup file is left beside them.  At no moment is a
// target's name missing, also not when the program replacing the files is
// ended from outside; what a roll-back cannot put back is kept and named.
#include "corvane/platform/FileReplace.h"
#include "corvane/platform/ReplaceSetSteps.h"
#include "platform_test_support.h"
#include "standins/replaceloop_versions.h"
#include "support/FailingWrites.h"
#include "support/HeldFile.h"
#include "support/StandinReady.h"
#include "standins/standin_common.h"

#include <algorithm>
#include <atomic>
#include <functional>
#include <memory>
#include <random>
#include <thread>
#include <vector>

using namespace platform_test;

namespace {

// Three targets in a folder, one of which (the last, unless said otherwise;
// none for -1) does not exist yet, and a temporary file with new contents
// beside each.
struct ThreeTargets {
    explicit ThreeTargets(const wchar_t* name, int newTarget = 2) : folder(name)
    {
        targets = {folder / L"道路.DMX", folder / L"道路.HDX", folder / L"道路.SQX"};
        const char* const earlier[] = {"old profile", "old sections", "old grades"};
        for (int i = 0; i < 3; ++i) {
            old.push_back(i == newTarget ? std::string() : std::string(earlier[i]));
            if (i != newTarget) WriteBytes(targets[i], old[i]);
        }
        before = FilesIn(folder.Path());
        for (size_t i = 0; i < targets.size(); ++i) {
            temps.push_back(tkx_TempFileBeside(targets[i]));
            WriteBytes(temps[i], "new " + std::to_string(i));
        }
    }
    // Whether target i holds its old bytes (or is still missing, where it
    // did not exist).
    bool AsBefore(size_t i) const
    {
        if (old[i].empty()) return GetFileAttributesW(targets[i]) == INVALID_FILE_ATTRIBUTES;
        return ReadBytes(targets[i]) == old[i];
    }
    ScratchFolder folder;
    std::vector<CString> targets, temps;
    std::vector<std::string> old;  // empty: the target does not exist
    std::vector<CString> before;   // the folder's files before the temporary ones
};

// The number of names (links) of the file at path.
DWORD NamesOf(const CString& path)
{
    HANDLE file = CreateFileW(path, FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 0;
    BY_HANDLE_FILE_INFORMATION info = {};
    const DWORD names = GetFileInformationByHandle(file, &info) ? info.nNumberOfLinks : 0;
    CloseHandle(file);
    return names;
}

bool IsBackupStep(tkxSetStep step)
{
    return step == tkxSetStep::Link || step == tkxSetStep::Copy;
}

const char* StepName(tkxSetStep step)
{
    switch (step) {
    case tkxSetStep::Check: return "check";
    case tkxSetStep::Link: return "backup";
    case tkxSetStep::Copy: return "copy";
    case tkxSetStep::Place: return "place";
    case tkxSetStep::PutBack: return "put back";
    case tkxSetStep::Remove: return "remove";
    }
    return "?";
}

} // namespace

// A step as the failure messages show it.
void PrintTo(tkxSetStep step, std::ostream* out) { *out << StepName(step); }

namespace {

// The names with that of the file at path (once).
std::vector<CString> With(std::vector<CString> names, const CString& path)
{
    const CString name = path.Mid(path.ReverseFind(L'\\') + 1);
    if (std::find(names.begin(), names.end(), name) != names.end()) return names;
    names.push_back(name);
    std::sort(names.begin(), names.end(), [](const CString& a, const CString& b) { return a.Compare(b) < 0; });
    return names;
}

} // namespace

// Backups made as second names of the targets (the target's file has two
// names while the set runs), or as copies where the file system refuses
// links.
TEST(ReplaceSet, PutsEveryNewFileInPlaceAndLeavesNoBackup)
{
    for (const bool links : {true, false}) {
        SCOPED_TRACE(links ? "links" : "copies");
        ThreeTargets files(L"replace set 全部");
        DWORD names = 0; // of the first target's file, when the new files' turn comes
        const tkxSetStepHookScope hook([&](tkxSetStep step, size_t i, const CString& target, const CString&) -> DWORD {
            if (step == tkxSetStep::Place && i == 0) names = NamesOf(target);
            return !links && step == tkxSetStep::Link ? ERROR_NOT_SUPPORTED : 0;
        });
        int failed = -7;
        tkxSetLeftovers left;
        ASSERT_TRUE(tkx_ReplaceSetByTemporaries(files.temps, files.targets, &failed, &left));
        EXPECT_EQ(links ? 2u : 1u, names);
        for (size_t i = 0; i < files.targets.size(); ++i)
            EXPECT_EQ("new " + std::to_string(i), ReadBytes(files.targets[i])) << i;
        EXPECT_TRUE(left.Empty());
        EXPECT_EQ(std::vector<CString>({L"道路.DMX", L"道路.HDX", L"道路.SQX"}), FilesIn(files.folder.Path()));
    }

    // A set of one, an existing file or a new one, is its one replacing
    // move: no backup is made at any step (a copy where links cannot be
    // made, and one a reader holds, would stay behind).
    for (const int newTarget : {-1, 0}) {
        SCOPED_TRACE(newTarget < 0 ? "one existing target" : "one new target");
        ThreeTargets files(L"replace set 一个", newTarget);
        std::vector<tkxSetStep> steps;
        const tkxSetStepHookScope hook([&steps](tkxSetStep step, size_t, const CString&, const CString&) -> DWORD {
            steps.push_back(step);
            return 0;
        });
        tkxSetLeftovers left;
        ASSERT_TRUE(tkx_ReplaceSetByTemporaries({files.temps[0]}, {files.targets[0]}, nullptr, &left));
        EXPECT_EQ(std::vector<tkxSetStep>({tkxSetStep::Check, tkxSetStep::Place}), steps);
        EXPECT_EQ("new 0", ReadBytes(files.targets[0]));
        EXPECT_TRUE(left.Empty());
        for (size_t i = 1; i < files.temps.size(); ++i) EXPECT_TRUE(DeleteFileW(files.temps[i]));
        EXPECT_EQ(With(files.before, files.targets[0]), FilesIn(files.folder.Path()));
    }
}

// Each way a set can fail, at the first target, in the middle or after
// earlier targets were already replaced.  A target that cannot be replaced
// refuses the set before anything changes: held open by another program
// (the probe for deletion sees the hold, and is closed again), read-only,
// or a folder in its place.
TEST(ReplaceSet, AFailedStepLeavesEveryTargetAsItWas)
{
    const struct Case {
        const char* what;
        int failed;
        bool beforeAnyChange;
        // Spoils the set; what it returns lives until the set was tried.
        std::function<std::shared_ptr<void>(ThreeTargets&)> spoil;
    } cases[] = {
        {"a target held open by another program", 1, true,
         [](ThreeTargets& f) {
             auto held = std::make_shared<HeldFile>(f.targets[1]);
             EXPECT_TRUE(held->Held());
             return held;
         }},
        {"a read-only target", 1, true,
         [](ThreeTargets& f) {
             EXPECT_TRUE(SetFileAttributesW(f.targets[1], FILE_ATTRIBUTE_READONLY));
             return std::shared_ptr<void>();
         }},
        {"a folder in a target's place", 2, true,
         [](ThreeTargets& f) {
             EXPECT_TRUE(CreateDirectoryW(f.targets[2], nullptr));
             return std::shared_ptr<void>();
         }},
        // The first two targets are replaced before the third fails: both
        // are put back.
        {"a temporary file gone when its turn comes", 2, false,
         [](ThreeTargets& f) {
             EXPECT_TRUE(DeleteFileW(f.temps[2]));
             return std::shared_ptr<void>();
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ThreeTargets files(L"replace set 失败");
        const std::shared_ptr<void> spoiled = c.spoil(files);
        std::vector<tkxSetStep> steps;
        const tkxSetStepHookScope hook([&steps](tkxSetStep step, size_t, const CString&, const CString&) -> DWORD {
            steps.push_back(step);
            return 0;
        });
        int failed = -7;
        tkxSetLeftovers left;
        SetLastError(0);
        EXPECT_FALSE(tkx_ReplaceSetByTemporaries(files.temps, files.targets, &failed, &left));
        EXPECT_NE(0u, GetLastError());
        EXPECT_EQ(c.failed, failed);
        EXPECT_TRUE(left.Empty());
        if (c.beforeAnyChange) {
            EXPECT_TRUE(std::all_of(steps.begin(), steps.end(), [](tkxSetStep s) { return s == tkxSetStep::Check; }));
        }
        EXPECT_EQ("old profile", ReadBytes(files.targets[0]));
        EXPECT_EQ("old sections", ReadBytes(files.targets[1]));
        // No new file took the third name (the folder of one case stays).
        const DWORD third = GetFileAttributesW(files.targets[2]);
        EXPECT_TRUE(third == INVALID_FILE_ATTRIBUTES || (third & FILE_ATTRIBUTE_DIRECTORY));
        EXPECT_EQ(files.before, FilesIn(files.folder.Path()));
        SetFileAttributesW(files.targets[1], FILE_ATTRIBUTE_NORMAL);
        RemoveDirectoryW(files.targets[2]);
    }
    // The probe's own open is closed: the target may be opened alone.
    ScratchFolder folder(L"replace set 探测");
    const CString target = folder / L"道路.DMX";
    WriteBytes(target, "old");
    const CString temp = tkx_TempFileBeside(target);
    ASSERT_FALSE(tkx_ReplaceSetByTemporaries({temp, temp}, {target, folder / L"不存在\\x.HDX"}));
    HANDLE alone = CreateFileW(target, GENERIC_READ | DELETE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_NE(INVALID_HANDLE_VALUE, alone);
    if (alone != INVALID_HANDLE_VALUE) CloseHandle(alone);
}

// A failure at each step (the look at a target, its backup, its new file
// taking its name) at the first, the middle and the last target, with
// every target existing, with a new first target, and with backups made as
// copies: every target holds its old bytes (a new target stays missing),
// and nothing else is left in the folder.
TEST(ReplaceSet, AFailureAtEachStepOfEachTargetLeavesEveryTargetByteForByte)
{
    const struct Layout {
        const char* what;
        int newTarget;
        bool links;
    } layouts[] = {
        {"three existing targets", -1, true},
        {"a new first target", 0, true},
        {"backups as copies", -1, false},
    };
    const DWORD kInjected = ERROR_WRITE_FAULT;
    for (const Layout& layout : layouts) {
        for (const tkxSetStep step : {tkxSetStep::Check, tkxSetStep::Link, tkxSetStep::Place}) {
            for (size_t index = 0; index < 3; ++index) {
                // A new target has no backup.
                if (step == tkxSetStep::Link && static_cast<int>(index) == layout.newTarget) continue;
                SCOPED_TRACE(::testing::Message() << layout.what << ", " << StepName(step) << " of target " << index);
                ThreeTargets files(L"replace set 每步", layout.newTarget);
                bool reached = false;
                const tkxSetStepHookScope hook([&](tkxSetStep s, size_t i, const CString&, const CString&) -> DWORD {
                    const bool matches = s == step || (step == tkxSetStep::Link && IsBackupStep(s));
                    if (i == index && matches) {
                        reached = true;
                        return kInjected;
                    }
                    return !layout.links && s == tkxSetStep::Link ? ERROR_NOT_SUPPORTED : 0;
                });
                int failed = -7;
                tkxSetLeftovers left;
                EXPECT_FALSE(tkx_ReplaceSetByTemporaries(files.temps, files.targets, &failed, &left));
                EXPECT_EQ(kInjected, GetLastError());
                EXPECT_TRUE(reached);
                EXPECT_EQ(static_cast<int>(index), failed);
                EXPECT_TRUE(left.Empty());
                for (size_t i = 0; i < 3; ++i) EXPECT_TRUE(files.AsBefore(i)) << i << ": " << ReadBytes(files.targets[i]);
                EXPECT_EQ(files.before, FilesIn(files.folder.Path()));
            }
        }
    }
}

// A roll-back while a reader holds what it needs (the first target's
// backup, or its new file) when the third target fails: the first target
// keeps its new content, its backup is kept, and both are named; the
// message does not say that the other outputs stayed as they were.  A new
// file where no target was, held, cannot be removed and is named too.  The
// second target is put back, the third never touched.
TEST(ReplaceSet, ARollBackThatCannotPutATargetBackKeepsItsBackupAndNamesBoth)
{
    enum Held { FirstBackup, FirstNewFile };
    const struct Case {
        const char* what;
        int newTarget;
        Held held;
    } cases[] = {
        {"a reader holds the first backup", 2, FirstBackup},
        {"a reader holds the first new file", 2, FirstNewFile},
        {"a reader holds a new file where no target was", 0, FirstNewFile},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ThreeTargets files(L"replace set 读者", c.newTarget);
        std::vector<CString> backups(3);
        std::unique_ptr<Reader> reader;
        const tkxSetStepHookScope hook([&](tkxSetStep step, size_t i, const CString& target, const CString& other) -> DWORD {
            if (IsBackupStep(step)) backups[i] = other;
            if (step != tkxSetStep::Place || i != 2) return 0;
            // The third file cannot take its target's name.
            reader.reset(new Reader(c.held == FirstBackup ? backups[0] : files.targets[0]));
            EXPECT_TRUE(reader->Open());
            return ERROR_SHARING_VIOLATION;
        });
        int failed = -7;
        tkxSetLeftovers left;
        EXPECT_FALSE(tkx_ReplaceSetByTemporaries(files.temps, files.targets, &failed, &left));
        EXPECT_EQ(2, failed);
        reader.reset();
        ASSERT_EQ(1u, left.notPutBack.size());
        EXPECT_EQ(files.targets[0], left.notPutBack[0].target);
        EXPECT_EQ(backups[0], left.notPutBack[0].backup);
        EXPECT_TRUE(left.backupsKept.empty());
        EXPECT_EQ("new 0", ReadBytes(files.targets[0]));
        EXPECT_TRUE(files.AsBefore(1));
        EXPECT_TRUE(files.AsBefore(2));
        CString said;
        if (c.newTarget == 0) {
            EXPECT_EQ(With(files.before, files.targets[0]), FilesIn(files.folder.Path()));
            said = ClFormat(L"无法删除新建的输出文件%s!", files.targets[0].GetString());
        } else {
            // The backup, named in full, holds the original.
            EXPECT_EQ(0, backups[0].Find(files.folder.Path() + L"\\bak")) << Utf8(backups[0]);
            EXPECT_EQ(L".DMX.tmp", backups[0].Right(8));
            EXPECT_EQ("old profile", ReadBytes(backups[0]));
            EXPECT_EQ(With(files.before, backups[0]), FilesIn(files.folder.Path()));
            said = ClFormat(L"无法恢复输出文件%s: 该文件现为新内容, 原内容保存在%s中!", files.targets[0].GetString(),
                            backups[0].GetString());
        }
        EXPECT_EQ(ClFormat(L"创建输出文件失败!\n\n无法替换输出文件%s!\n\n", files.targets[2].GetString()) + said,
                  tkx_SetFailureText(files.targets[2], L"创建输出文件失败!", 3, left));
    }
}

// A successful set whose backup a reader holds when it is to be removed:
// the set succeeds, the backup stays and is named with its target.
TEST(ReplaceSet, ABackupThatCannotBeRemovedIsNamed)
{
    ThreeTargets files(L"replace set 备份");
    std::unique_ptr<Reader> reader;
    const tkxSetStepHookScope hook([&](tkxSetStep step, size_t i, const CString&, const CString& other) -> DWORD {
        if (step == tkxSetStep::Remove && i == 1) reader.reset(new Reader(other));
        return 0;
    });
    tkxSetLeftovers left;
    ASSERT_TRUE(tkx_ReplaceSetByTemporaries(files.temps, files.targets, nullptr, &left));
    ASSERT_TRUE(reader && reader->Open());
    reader.reset();
    for (size_t i = 0; i < files.targets.size(); ++i) EXPECT_EQ("new " + std::to_string(i), ReadBytes(files.targets[i]));
    EXPECT_TRUE(left.notPutBack.empty());
    ASSERT_EQ(1u, left.backupsKept.size());
    const tkxSetBackup kept = left.backupsKept[0];
    EXPECT_EQ(files.targets[1], kept.target);
    EXPECT_EQ("old sections", ReadBytes(kept.backup));
    EXPECT_EQ(With(With(files.before, files.targets[2]), kept.backup), FilesIn(files.folder.Path()));
    EXPECT_EQ(std::vector<CString>{ClFormat(L"无法删除输出文件%s的备份文件%s!", kept.target.GetString(),
                                            kept.backup.GetString())},
              tkx_BackupsKeptTexts(left));
}

// Names of a deep folder, which the set holds in the extended form of the
// path, are shown as the user writes them.
TEST(ReplaceSet, MessagesShowNamesWithoutTheExtendedForm)
{
    tkxSetLeftovers left;
    left.notPutBack.push_back({L"\\\\?\\C:\\深\\道路.DMX", L"\\\\?\\C:\\深\\bak0A1F.DMX.tmp"});
    left.notPutBack.push_back({L"\\\\?\\UNC\\srv\\共享\\道路.SQX", CString()});
    left.backupsKept.push_back({L"\\\\?\\UNC\\srv\\共享\\道路.HDX", L"\\\\?\\UNC\\srv\\共享\\bak0B2C.HDX.tmp"});
    EXPECT_EQ(CString(L"无法替换输出文件C:\\深\\道路.HDX!\n\n"
                      L"无法恢复输出文件C:\\深\\道路.DMX: 该文件现为新内容, 原内容保存在C:\\深\\bak0A1F.DMX.tmp中!\n\n"
                      L"无法删除新建的输出文件\\\\srv\\共享\\道路.SQX!"),
              tkx_SetFailureText(L"C:\\深\\道路.HDX", nullptr, 3, left));
    EXPECT_EQ(std::vector<CString>{L"无法删除输出文件\\\\srv\\共享\\道路.HDX的备份文件\\\\srv\\共享\\bak0B2C.HDX.tmp!"},
              tkx_BackupsKeptTexts(left));
}

// Another program puts its own file under a target's name while the set
// runs: it saves its file in the place of an existing target, or makes a
// file under the name of a target that did not exist.  Its file is never
// replaced, not by the new file nor by a roll-back: the set fails at that
// target and puts the others back.
TEST(ReplaceSet, AFileAnotherProgramPutsUnderATargetsNameIsNeverReplaced)
{
    const struct Case {
        const char* what;
        size_t at;
    } cases[] = {
        {"saved in the place of an existing target", 1},
        {"made under the name of a new target", 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ThreeTargets files(L"replace set 他人");
        const tkxSetStepHookScope hook([&](tkxSetStep step, size_t i, const CString& target, const CString&) -> DWORD {
            if (step != tkxSetStep::Place || i != c.at) return 0;
            // As a careful program saves: its own temporary file, then one
            // replacing move.
            const CString theirs = files.folder / L"their.tmp";
            WriteBytes(theirs, "their file");
            EXPECT_TRUE(MoveFileExW(theirs, target, MOVEFILE_REPLACE_EXISTING));
            return 0;
        });
        int failed = -7;
        tkxSetLeftovers left;
        EXPECT_FALSE(tkx_ReplaceSetByTemporaries(files.temps, files.targets, &failed, &left));
        EXPECT_EQ(ERROR_ALREADY_EXISTS, GetLastError());
        EXPECT_EQ(static_cast<int>(c.at), failed);
        EXPECT_TRUE(left.Empty());
        for (size_t i = 0; i < 3; ++i) {
            if (i == c.at) {
                EXPECT_EQ("their file", ReadBytes(files.targets[i]));
            } else {
                EXPECT_TRUE(files.AsBefore(i)) << i;
            }
        }
        EXPECT_EQ(With(files.before, files.targets[c.at]), FilesIn(files.folder.Path()));
    }
}

// A thread looks at the targets' names all the time while one target is
// replaced again and again, and then a set of two: it never finds a name
// missing, and each target holds its newest version after each set.
TEST(ReplaceSet, ATargetsNameIsNeverMissing)
{
    ScratchFolder folder(L"replace set 名称");
    const std::vector<CString> both = {folder / L"道路.HDX", folder / L"道路.DMX"};
    for (const CString& target : both) WriteBytes(target, "version 0");
    std::atomic<long> looks(0), missing(0);
    struct Watcher {
        std::atomic<bool> stop{false};
        std::thread thread;
        ~Watcher()
        {
            stop = true;
            if (thread.joinable()) thread.join();
        }
    } watcher;
    watcher.thread = std::thread([&] {
        while (!watcher.stop) {
            for (const CString& target : both)
                if (GetFileAttributesW(target) == INVALID_FILE_ATTRIBUTES) ++missing;
            ++looks;
        }
    });
    const int kTimes = 300;
    for (const size_t count : {size_t(1), size_t(2)}) {
        SCOPED_TRACE(count == 1 ? "one target" : "a set of two");
        const std::vector<CString> targets(both.begin(), both.begin() + count);
        for (int k = 1; k <= kTimes && !HasFatalFailure(); ++k) {
            std::vector<CString> temps;
            for (size_t i = 0; i < count; ++i) {
                temps.push_back(tkx_TempFileBeside(targets[i]));
                WriteBytes(temps[i], "version " + std::to_string(k) + " of " + std::to_string(i));
            }
            const long seen = looks;
            ASSERT_TRUE(tkx_ReplaceSetByTemporaries(temps, targets)) << k;
            for (size_t i = 0; i < count; ++i)
                ASSERT_EQ("version " + std::to_string(k) + " of " + std::to_string(i), ReadBytes(targets[i]));
            // The watcher looked at least once more before the next set
            // (bounded: a watcher that stalls fails the test).
            const double until = Seconds() + 30;
            while (looks < seen + 2 && Seconds() < until) std::this_thread::yield();
            ASSERT_GE(looks, seen + 2) << "the watcher stalled";
        }
    }
    watcher.stop = true;
    watcher.thread.join();
    EXPECT_EQ(0, missing) << "looks: " << looks;
    EXPECT_EQ(both.size(), FilesIn(folder.Path()).size());
}

// A program that replaces a set of three files over and over (replaceloop,
// in turn as one set and the first file alone) is ended from outside at a
// random moment, again and again (three at a time, each on a folder of its
// own): after each end every target is there, holding one whole version.
// The moment is drawn from the time the program took for its last sets, so
// that it falls anywhere in a set or between two.
TEST(ReplaceSet, AProgramEndedAtAnyMomentLeavesEveryTargetWhole)
{
    struct Loop {
        explicit Loop(const CString& name) : folder(name)
        {
            targets = {folder / L"道路.DMX", folder / L"道路.HDX", folder / L"道路.SQX"};
            for (unsigned i = 0; i < targets.size(); ++i) WriteBytes(targets[i], replaceloop::VersionBytes(i, 0));
        }
        ~Loop() { End(); }
        // Starts the program; a failure says which call failed and why.
        ::testing::AssertionResult Start(int round)
        {
            log = ClFormat(L"%s\\replaceloop_%lu_%d.log", folder.Path().GetString(), GetCurrentProcessId(), round);
            DeleteFileW(log);
            ready.reset(new StandinReady(log));
            wchar_t name[80];
            standin::ReadyEventName(log, name, 64);
            lstrcatW(name, L"_SETS");
            sets = CreateSemaphoreW(nullptr, 0, 1 << 30, name);
            if (!sets) return ::testing::AssertionFailure() << "no semaphore, error " << GetLastError();
            CString command = ClFormat(L"\"%s\\replaceloop.exe\" --log \"%s\" --seconds 120",
                                       BinFolder().GetString(), log.GetString());
            for (const CString& target : targets) command += ClFormat(L" \"%s\"", target.GetString());
            STARTUPINFOW startup = {sizeof(startup)};
            const BOOL started = CreateProcessW(nullptr, command.GetBuffer(), nullptr, nullptr, FALSE, 0, nullptr,
                                                nullptr, &startup, &process);
            const DWORD error = GetLastError();
            command.ReleaseBuffer();
            if (!started) return ::testing::AssertionFailure() << "the program did not start, error " << error;
            return ::testing::AssertionSuccess();
        }
        void End()
        {
            if (process.hProcess) {
                TerminateProcess(process.hProcess, 9);
                EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(process.hProcess, StandinReady::kBoundMs));
                CloseHandle(process.hProcess);
                CloseHandle(process.hThread);
                process = {};
            }
            if (sets) CloseHandle(sets);
            sets = nullptr;
            ready.reset();
            DeleteFileW(log);
        }
        ScratchFolder folder;
        std::vector<CString> targets;
        CString log;
        std::unique_ptr<StandinReady> ready;
        HANDLE sets = nullptr;
        PROCESS_INFORMATION process = {};
    };
    std::vector<std::unique_ptr<Loop>> loops;
    for (const wchar_t* name : {L"replace set 中止 1", L"replace set 中止 2", L"replace set 中止 3"})
        loops.emplace_back(new Loop(name));
    const unsigned seed = std::random_device()();
    SCOPED_TRACE(::testing::Message() << "seed " << seed);
    std::mt19937 random(seed);
    const int kRounds = 10;
    for (int round = 0; round < kRounds && !HasFailure(); ++round) {
        SCOPED_TRACE(::testing::Message() << "round " << round);
        for (auto& loop : loops) ASSERT_TRUE(loop->Start(round));
        for (auto& loop : loops) EXPECT_TRUE(loop->ready->Wait(loop->process.hProcess));
        for (size_t l = 0; l < loops.size() && !HasFailure(); ++l) {
            Loop& loop = *loops[l];
            // A few whole sets (two at least, to time them), then a moment
            // within the time of one or two more.
            const int whole = std::uniform_int_distribution<int>(2, 6)(random);
            double first = 0, last = 0;
            for (int k = 0; k < whole && !HasFailure(); ++k) {
                HANDLE both[2] = {loop.sets, loop.process.hProcess};
                EXPECT_EQ(WAIT_OBJECT_0, WaitForMultipleObjects(2, both, FALSE, StandinReady::kBoundMs))
                    << "the program ended or stalled: " << ReadBytes(loop.log);
                (k == 0 ? first : last) = Seconds();
            }
            const double period = (last - first) / (whole - 1);
            const double spin = std::uniform_real_distribution<double>(0, 2 * period)(random);
            for (const double until = Seconds() + spin; Seconds() < until;) {
            }
            loop.End();
            for (unsigned i = 0; i < loop.targets.size(); ++i) {
                const std::string bytes = ReadBytes(loop.targets[i]);
                EXPECT_TRUE(replaceloop::IsWholeVersion(i, bytes))
                    << "program " << l << ", target " << i << ": " << bytes.size() << " bytes: " << bytes.substr(0, 48);
            }
            // What the ended set had made beside them goes (the test's own
            // clearing; after a real crash it stays for the user).
            for (const CString& file : FilesIn(loop.folder.Path()))
                if (file.Right(4).CompareNoCase(L".tmp") == 0) DeleteFileW(loop.folder / file);
            EXPECT_EQ(loop.targets.size(), FilesIn(loop.folder.Path()).size());
        }
    }
}

// Copies of a set of files: a read-only target refuses the set before any
// copy is made; a held target leaves every target as it was; a source that
// cannot be read takes the copies made before it with it; copies of
// read-only files are read-only.
TEST(ReplaceSet, CopiesAreMadeAsOneSet)
{
    ScratchFolder source(L"copy set 来源"), target(L"copy set 目标");
    const std::vector<CString> from = {source / L"a.txt", source / L"b.txt"};
    const std::vector<CString> to = {target / L"a.txt", target / L"b.txt"};
    WriteBytes(from[0], "new a");
    WriteBytes(from[1], "new b");
    WriteBytes(to[0], "old a");
    WriteBytes(to[1], "old b");
    {
        HeldFile held(to[1]);
        ASSERT_TRUE(held.Held());
        int failed = -7;
        EXPECT_FALSE(tkx_CopySetReplacing(from, to, &failed));
        EXPECT_EQ(1, failed);
        EXPECT_EQ("old a", ReadBytes(to[0]));
        EXPECT_EQ("old b", ReadBytes(to[1]));
        EXPECT_EQ(std::vector<CString>({L"a.txt", L"b.txt"}), FilesIn(target.Path()));
    }
    {
        // The third source is open for another program alone.
        const std::vector<CString> three = {from[0], from[1], source / L"c.txt"};
        WriteBytes(three[2], "new c");
        HANDLE alone = CreateFileW(three[2], GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(INVALID_HANDLE_VALUE, alone);
        int failed = -7;
        EXPECT_FALSE(tkx_CopySetReplacing(three, {to[0], to[1], target / L"c.txt"}, &failed));
        CloseHandle(alone);
        EXPECT_EQ(2, failed);
        EXPECT_EQ("old a", ReadBytes(to[0]));
        EXPECT_EQ("old b", ReadBytes(to[1]));
        EXPECT_EQ(std::vector<CString>({L"a.txt", L"b.txt"}), FilesIn(target.Path()));
    }
    ASSERT_TRUE(SetFileAttributesW(to[0], FILE_ATTRIBUTE_READONLY));
    int failed = -7;
    EXPECT_FALSE(tkx_CopySetReplacing(from, to, &failed));
    EXPECT_EQ(0, failed);
    EXPECT_EQ("old b", ReadBytes(to[1]));
    EXPECT_EQ(std::vector<CString>({L"a.txt", L"b.txt"}), FilesIn(target.Path()));
    ASSERT_TRUE(SetFileAttributesW(to[0], FILE_ATTRIBUTE_NORMAL));

    ASSERT_TRUE(SetFileAttributesW(from[1], FILE_ATTRIBUTE_READONLY));
    EXPECT_TRUE(tkx_CopySetReplacing(from, to, &failed));
    EXPECT_EQ("new a", ReadBytes(to[0]));
    EXPECT_EQ("new b", ReadBytes(to[1]));
    EXPECT_EQ(0u, GetFileAttributesW(to[0]) & FILE_ATTRIBUTE_READONLY);
    EXPECT_NE(0u, GetFileAttributesW(to[1]) & FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(std::vector<CString>({L"a.txt", L"b.txt"}), FilesIn(target.Path()));
    SetFileAttributesW(from[1], FILE_ATTRIBUTE_NORMAL);
    SetFileAttributesW(to[1], FILE_ATTRIBUTE_NORMAL);
}
