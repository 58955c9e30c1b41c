#include "DemoTemplates.h"
#include <vector>

namespace {

struct DemoTemplate {
    const wchar_t* name;
    std::vector<const wchar_t*> lines;
};

// Tokens: fixed value, end value, start thickness, control file, drawing
// flags, label flags, stored values, end rule, termination, its threshold,
// sketch length (not read), wall file, fixed kind, tested quantity, sketch
// direction (not read), arc with the next line, end thickness, gradient
// label style, topsoil.
const DemoTemplate kTemplates[] = {
    {L"填方路堤.TYP",
     {
         // fill 1:1.5, 8 m high
         L"1.500 8.000 0.000 NULL 3 17 1060 2 -1 0.000 0.000 NULL 1 0 0.000000 0 0.000 0 1",
         // berm 2 m
         L"33.333 2.000 0.300 NULL 7 16 68 128 -1 0.000 0.000 NULL 1 0 0.000000 0 0.300 0 1",
         // fill 1:1.75 to the ground
         L"1.750 0.000 0.000 NULL 3 1 1060 4 1 20.000 0.000 NULL 1 0 0.000000 0 0.000 1 1",
         // berm 1 m outside the earthwork
         L"33.333 1.000 0.000 NULL 1 2 66 128 -1 0.000 0.000 NULL 1 0 0.000000 0 0.000 0 1",
         // trapezoidal ditch: inner wall
         L"1.000 0.600 0.200 NULL 7 0 128 2 -1 0.000 0.000 NULL 1 0 0.000000 0 0.200 0 0",
         // trapezoidal ditch: bottom
         L"1000.000 0.600 0.200 NULL 7 0 256 128 -1 0.000 0.000 NULL 1 0 0.000000 0 0.200 0 0",
         // trapezoidal ditch: outer wall
         L"-1.000 0.600 0.200 NULL 7 0 512 128 -1 0.000 0.000 NULL 1 0 0.000000 0 0.200 0 0",
     }},
    {L"挖方路堑.TYP",
     {
         // rectangular ditch: inner wall
         L"0.001 0.600 0.200 NULL 7 0 128 2 -1 0.000 0.000 NULL 1 0 0.000000 0 0.200 0 0",
         // rectangular ditch: bottom
         L"1000.000 0.600 0.200 NULL 7 0 256 128 -1 0.000 0.000 NULL 1 0 0.000000 0 0.200 0 0",
         // rectangular ditch: outer wall
         L"-0.001 0.600 0.200 NULL 7 0 512 2 -1 0.000 0.000 NULL 1 0 0.000000 0 0.200 0 0",
         // debris platform 1 m
         L"-33.333 1.000 0.000 NULL 3 17 1092 1 -1 0.000 0.000 NULL 1 0 0.000000 0 0.000 0 1",
         // cut 1:1, 8 m high
         L"-1.000 8.000 0.000 NULL 3 5 1057 2 -1 0.000 0.000 NULL 1 0 0.000000 0 0.000 0 1",
         // berm 2 m, drawn dashed
         L"-33.333 2.000 0.000 NULL 3 130 64 128 -1 0.000 0.000 NULL 1 0 0.000000 0 0.000 0 1",
         // cut 1:1.25 to the ground, arc with the next
         L"-1.250 0.000 0.000 NULL 3 1 32 -4 -1 0.000 0.000 NULL 1 0 0.000000 1 0.000 0 1",
         // cut 1:1.5 to the ground point 3 m on
         L"-1.500 3.000 0.000 NULL 3 64 34 -2 0 -30.000 0.000 NULL 1 2 0.000000 0 0.000 0 1",
     }},
    {L"控制文件边坡.TYP",
     {
         // length from the slope-length file + 0.5 m
         L"1.500 0.500 0.000 坡长.PC 3 1 32 -1 -1 0.000 0.000 NULL 1 0 0.000000 0 0.000 0 1",
         // height from the wall file, wall at the start
         L"1.500 0.000 0.000 挡墙.DQ 3 0 40 32 -1 0.000 0.000 挡墙.DQ 1 0 0.000000 0 0.000 0 1",
         // height from the vertical-curve file - 0.5 m
         L"1.500 -0.500 0.000 边沟.SQX 3 32 32 64 -1 0.000 0.000 NULL 1 0 0.000000 0 0.000 0 1",
         // width from the slope-width file, wall at the end
         L"2.000 0.000 0.000 坡宽.KD 3 0 80 512 -1 0.000 0.000 挡墙.DQ 1 0 0.000000 0 0.000 0 1",
         // ditch bottom + 0.8 m
         L"1.500 0.800 0.000 NULL 2 0 128 8 -1 0.000 0.000 NULL 1 0 0.000000 0 0.000 0 1",
         // subgrade edge - 1.5 m
         L"1.500 -1.500 0.000 NULL 3 1 32 16 1 100.000 0.000 NULL 1 7 0.000000 0 0.000 0 1",
     }},
    {L"固定高度宽度.TYP",
     {
         // 1:1.5 ending 4 m from the subgrade edge
         L"1.500 4.000 0.000 NULL 3 1 36 256 -1 0.000 0.000 NULL 1 0 0.000000 0 0.000 0 1",
         // height 0.5 m over 2 m
         L"0.500 2.000 0.000 NULL 3 0 64 128 -1 0.000 0.000 NULL 2 0 0.000000 0 0.000 0 1",
         // height 1 m over the slope-width file
         L"1.000 0.500 0.000 坡宽.KD 3 0 32 512 -1 0.000 0.000 NULL 2 0 0.000000 0 0.000 0 1",
         // height 1 m to the ground + 0 m
         L"1.000 0.000 0.000 NULL 3 0 32 1024 -1 0.000 0.000 NULL 2 0 0.000000 0 0.000 0 1",
         // width 2 m, 1 m down
         L"2.000 1.000 0.000 NULL 3 8 32 2 -1 0.000 0.000 NULL 3 0 0.000000 0 0.000 0 1",
         // width 1 m, ditch bottom + 0.6 m
         L"1.000 0.600 0.000 NULL 3 0 256 8 -1 0.000 0.000 NULL 3 0 0.000000 0 0.000 0 1",
         // width 1 m, wall file + 0.5 m
         L"1.000 0.500 0.000 挡墙.DQ 3 0 32 32 -1 0.000 0.000 NULL 3 0 0.000000 0 0.000 0 1",
         // width 1.5 m to the ground elevation
         L"1.500 0.000 0.000 NULL 3 0 32 4 -1 0.000 0.000 NULL 3 0 0.000000 0 0.000 0 1",
         // 1:1.5 to the ground point 1 m on
         L"1.500 1.000 0.000 NULL 3 0 32 2048 -1 0.000 0.000 NULL 1 0 0.000000 0 0.000 0 1",
         // 1:1.5 to the ground point 10 m from the edge
         L"1.500 10.000 0.000 NULL 3 0 32 4096 -1 0.000 0.000 NULL 1 0 0.000000 0 0.000 0 1",
         // 1:1.5 to the ground + 1 m
         L"1.500 1.000 0.000 NULL 3 1 32 1024 -1 0.000 0.000 NULL 1 0 0.000000 0 0.000 0 1",
     }},
};

// The control files the templates name: what the design reads from them,
// by station.
const struct {
    const wchar_t* name;
    const wchar_t* text;
} kControlFiles[] = {
    {L"坡长.PC", L"// 坡长文件: 桩号 左侧坡长 右侧坡长\n0.000 3.000 3.000\n1500.000 4.500 4.000\n3790.000 3.000 3.000\n"},
    {L"挡墙.DQ", L"// 挡墙文件: 起点桩号 终点桩号 墙高 墙顶宽\n1180.000 1260.000 4.000 0.600\n2950.000 3070.000 6.000 0.800\n"},
    {L"边沟.SQX", L"// 边沟底竖曲线: 桩号 高程 竖曲线半径\n0.000 123.400\n700.000 132.900 12000\n1500.000 119.400 8000\n3790.000 122.400\n"},
    {L"坡宽.KD", L"// 坡宽文件: 桩号 左侧坡宽 右侧坡宽\n0.000 2.000 2.000\n2400.000 3.500 3.000\n3790.000 2.000 2.000\n"},
};

bool WriteFile(const CString& path, const CString& text)
{
    CStdioFile file;
    if (!file.Open(path, CFile::modeCreate | CFile::modeWrite | CFile::typeText)) return false;
    try {
        file.WriteString(text);
        file.Close();
    } catch (CException* e) {
        e->Delete();
        file.Abort();
        return false;
    }
    return true;
}

} // namespace

bool WriteDemoTemplates(const CString& folder, CStringArray& names)
{
    for (const auto& control : kControlFiles)
        if (!WriteFile(folder + L"\\" + control.name, control.text)) return false;
    for (const DemoTemplate& t : kTemplates) {
        CString text;
        for (const wchar_t* line : t.lines) text += CString(line) + L"\n";
        if (!WriteFile(folder + L"\\" + t.name, text)) return false;
        names.Add(t.name);
    }
    return true;
}
