// The scratch world of Brisko's test programs: the scratch hive of
// tests/support with HKEY_CLASSES_ROOT redirected as well (the file
// associations land there), a scratch installation folder with an empty Bin
// folder, and the suite's document folder holding the shipped
// "TvComment.ini".  A program's world may seed more before the program
// starts (settings, a registered current project); at the end the main
// window goes and the application ends as its message loop would end it.
#pragma once
#include "support/Scratch.h"
#include <gtest/gtest.h>
#include <functional>
#include <string>
#include <vector>

namespace brisko_test {

using namespace test_support;

// The registry key of the program's settings section "Settings".
extern const wchar_t kSettingsKey[];

class BriskoWorld : public ScratchHive
{
public:
    explicit BriskoWorld(const wchar_t* tag) : ScratchHive(tag) {}

    static CString InstallFolder();

protected:
    void Prepare() override;
    void CleanUp() override;
    // Seeds the world after the common part (the library is not started
    // yet).
    virtual void Seed() {}

    // Values of the section "Settings".
    struct Setting {
        const wchar_t* name;
        DWORD value;
    };
    static void SeedSettings(std::initializer_list<Setting> settings);
    // A new empty folder for a project, in a folder of the world's projects
    // made afresh; RemoveProjects removes them all.
    static CString MakeProjectFolder(const wchar_t* name);
    static void RemoveProjects();
    // A new project folder (MakeProjectFolder) with the folder of one road,
    // registered as the current project with that road current; its folder.
    static CString RegisterProject(const wchar_t* name, const wchar_t* road);

private:
    HKEY m_classes = nullptr;
};

// A world whose one registered project (the current one) holds one road,
// the current road, with the main window placed at 0,0 and 1000 by 700; the
// project's folders go with the world.
class OneRoadWorld : public BriskoWorld
{
public:
    OneRoadWorld(const wchar_t* tag, const wchar_t* project, const wchar_t* road)
        : BriskoWorld(tag), m_project(project), m_road(road)
    {
    }
    // The project's folder and the road's.
    static CString ProjectFolder();
    static CString RoadFolder();

protected:
    void Seed() override;
    void CleanUp() override;

private:
    const wchar_t* m_project;
    const wchar_t* m_road;
};

// The application's started state for a test: started once, then the
// loop run until idle.
void StartProgram();

// The lines of the information page's log.
std::vector<CString> InfoLines();

// The bytes of an RCDATA resource of the test program (a fixture file its
// .rc lists by name); a test fails when there is none.
std::string Fixture(const char* name);

// Fixes the tools' clock of the "//创建时间" header line at 2024-05-06
// 7:08:09, the time of the golden files; ReleaseToolClock gives the system's
// time back.
void FixToolClock();
void ReleaseToolClock();

// Whether the program holds a document of that file.
bool IsOpen(const CString& path);

// Runs the message loop until `done` holds; false after `maxMs`.
bool PumpUntil(const std::function<bool()>& done, int maxMs = 10000);
// Appends a line to the file from another program (appendline.exe) and
// waits for it to end; false when it could not run or failed.
bool ChangeFromOtherProgram(const CString& path, const wchar_t* line = L"changed by another program");

} // namespace brisko_test
