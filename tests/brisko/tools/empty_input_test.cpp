// The data tools given an input from which nothing can be read (an empty
// file, comments only, lines all passed over, a layout line without a
// section): each names that input, answers 0 and leaves its outputs as they
// were, byte for byte.
#include "brisko/convert/BaseElevations.h"
#include "brisko/convert/BidRoadBRF.h"
#include "brisko/convert/HDXLayout.h"
#include "brisko/convert/MoveData.h"
#include "brisko/convert/StructureTools.h"
#include "corvane/road/BreakChain.h"
#include "support/FailingWrites.h"
#include "tools_world.h"
#include <functional>

using namespace tooltest;

namespace {

// The good inputs of the tools, in one folder; the row's damaged input
// takes the place of one of them.
struct Inputs
{
    explicit Inputs(const ScratchFolder& folder)
        : dyd(PutFixture(folder, "ROAD_DYD", L"路.DYD")), sqx(PutFixture(folder, "ROAD_SQX", L"路.SQX")),
          dmx(PutFixture(folder, "ROAD_DMX", L"路.DMX")), cg(PutFixture(folder, "ROAD_CG", L"路.CG")),
          jgcSqx(PutFixture(folder, "JGC_FLAT_SQX", L"基点.SQX")), jgcDmx(PutFixture(folder, "JGC_FLAT_DMX", L"基点.DMX")),
          shiftDmx(PutFixture(folder, "SHIFT_DMX", L"shift.DMX")), shiftHdx(PutFixture(folder, "SHIFT_HDX", L"shift.HDX")),
          chainDmx(PutFixture(folder, "CHAIN_DMX", L"chain.DMX")), chainHdx(PutFixture(folder, "CHAIN_HDX", L"chain.HDX")),
          chainDl(PutFixture(folder, "CHAIN_DL", L"chain.DL"))
    {
    }
    CString dyd, sqx, dmx, cg, jgcSqx, jgcDmx, shiftDmx, shiftHdx, chainDmx, chainHdx, chainDl;
};

// A tool run with the damaged input in its place; the outputs by name.
using ToolRun = std::function<int(const Inputs& good, const CString& damaged, const std::vector<CString>& outputs)>;

int Shift(const CString& dmx, const CString& hdx, const std::vector<CString>& outputs)
{
    MoveDataJob job;
    job.dmxIn = dmx;
    job.hdxIn = hdx;
    job.dmxOut = outputs[0];
    job.hdxOut = outputs[1];
    return RunMoveData(nullptr, job, {{L"1000", L"", L"-2"}});
}

} // namespace

TEST(DataTools, AnInputThatGivesNothingIsRefusedAndTheOutputsStay)
{
    const ToolRun gzw = [](const Inputs&, const CString& d, const std::vector<CString>& o) {
        return ConvertGZWToGZX(nullptr, d, o[0]);
    };
    const ToolRun ql = [](const Inputs&, const CString& d, const std::vector<CString>& o) {
        return ExportGZXToQL(nullptr, d, o[0], tkxBreakChain());
    };
    const struct {
        const char* what;
        const wchar_t* name;  // of the damaged input
        const wchar_t* text;  // its text
        ToolRun run;
        std::vector<const wchar_t*> outputs;
        UINT icon;
    } cases[] = {
        {"structure list empty", L"空.GZW", L"", gzw, {L"空.GZX"}, MB_ICONINFORMATION},
        {"structure list of comments", L"空.GZW", L"// 构造物\n\n", gzw, {L"空.GZX"}, MB_ICONINFORMATION},
        // Lines of kinds the tool does not know are passed over, whatever
        // the number.
        {"structure list of other kinds", L"空.GZW", L"9 其他 1200 90\n-2147483648 桥 1300 90\n"
                                                    L"1000000000000000000000000000000 桥 1400 90\n",
         gzw, {L"空.GZX"}, MB_ICONINFORMATION},
        {"structure file empty", L"空.GZX", L"", ql, {L"空.QL"}, MB_ICONINFORMATION},
        {"structure file of comments", L"空.GZX", L"// 构造物\n", ql, {L"空.QL"}, MB_ICONINFORMATION},
        {"grade points", L"空.SQX", L"// 竖曲线\n",
         [](const Inputs& g, const CString& d, const std::vector<CString>& o) {
             return ExportBidRoadBRF(nullptr, g.dyd, d, g.dmx, g.cg, o[0]);
         },
         {L"路.BRF"}, MB_ICONINFORMATION},
        {"cross slopes of their header line alone", L"空.CG", L"2 0 0 2 1 0 1\n// 无超高\n",
         [](const Inputs& g, const CString& d, const std::vector<CString>& o) {
             return ExportBidRoadBRF(nullptr, g.dyd, g.sqx, g.dmx, d, o[0]);
         },
         {L"路.BRF"}, MB_ICONINFORMATION},
        {"ground line of the interface", L"空.DMX", L"",
         [](const Inputs& g, const CString& d, const std::vector<CString>& o) {
             return ExportBidRoadBRF(nullptr, g.dyd, g.sqx, d, g.cg, o[0]);
         },
         {L"路.BRF"}, MB_ICONINFORMATION},
        {"sections to shift", L"空.HDX", L"ABS1\n// 无断面\n",
         [](const Inputs& g, const CString& d, const std::vector<CString>& o) { return Shift(g.shiftDmx, d, o); },
         {L"shift_NEW.DMX", L"shift_NEW.HDX"}, MB_ICONERROR},
        {"ground line to shift on", L"空.DMX", L"// 无地面点\n",
         [](const Inputs& g, const CString& d, const std::vector<CString>& o) { return Shift(d, g.shiftHdx, o); },
         {L"shift_NEW.DMX", L"shift_NEW.HDX"}, MB_ICONERROR},
        {"ground line of the base elevations", L"空.DMX", L"",
         [](const Inputs& g, const CString& d, const std::vector<CString>& o) {
             return WriteBaseElevations(nullptr, g.jgcSqx, d, L"", o[0], JGCParameters());
         },
         {L"基点.JGC"}, MB_ICONHAND},
        {"sections to change", L"空.HDX", L"ABS1\n",
         [](const Inputs& g, const CString& d, const std::vector<CString>& o) {
             return ConvertHDXLayout(nullptr, d, g.chainDmx, g.chainDl, 0, o[0]);
         },
         {L"chain_New.HDX"}, MB_ICONINFORMATION},
        {"ground line of the layout change", L"空.DMX", L"// 无地面点\n",
         [](const Inputs& g, const CString& d, const std::vector<CString>& o) {
             return ConvertHDXLayout(nullptr, g.chainHdx, d, g.chainDl, 0, o[0]);
         },
         {L"chain_New.HDX"}, MB_ICONINFORMATION},
    };
    StationSettings stations(3, 1);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ScratchFolder folder(L"empty_input");
        const Inputs good(folder);
        const CString damaged = PutText(folder, c.name, c.text);
        std::vector<CString> outputs;
        for (const wchar_t* name : c.outputs) outputs.push_back(PutText(folder, name, L"早先的结果\n"));
        const auto before = FilesIn(folder.Path());
        MessageBoxScript boxes;
        EXPECT_EQ(0, c.run(good, damaged, outputs));
        EXPECT_EQ(std::vector<CString>{ClFormat(L"文件%s中没有可转换的数据!", damaged.GetString())}, boxes.Texts());
        if (!boxes.Shown().empty()) EXPECT_EQ(c.icon, boxes.Shown()[0].type);
        for (const CString& output : outputs) EXPECT_EQ(FileText(L"早先的结果\n"), ReadBytes(output)) << Utf8(output);
        EXPECT_EQ(before, FilesIn(folder.Path()));
    }
}
