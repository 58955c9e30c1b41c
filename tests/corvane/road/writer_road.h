// A short road whose data every writer of the road files takes: a chain with
// one break, a ground line and a grade line with one vertical curve, and one
// cross-section of ground points.
#pragma once
#include "corvane/road/BreakChain.h"
#include "corvane/road/HdxFile.h"
#include "corvane/road/Profile.h"

namespace road_test {

struct WriterRoad {
    tkxBreakChain chain;
    tkxZDMInfo profile{&chain};
    tkxHDMTerrain terrain{&chain};
    bool made = false; // false: the library refused the data (see its last error)

    WriterRoad()
    {
        if (chain.GetDLFromString(L"1200=1180") != 1) return;
        profile.AddDMHeight(0, 100);
        profile.AddDMHeight(2000, 120);
        CArray<double, double> stations, elevations, radii;
        for (double v : {0.0, 1000.0, 2000.0}) stations.Add(v);
        for (double v : {100.0, 110.0, 100.0}) elevations.Add(v);
        for (double v : {0.0, 3000.0, 0.0}) radii.Add(v);
        profile.SetBPDZHs(stations);
        profile.SetBPDElevations(elevations);
        profile.SetRs(radii);
        if (profile.ComputeSQX() != 1) return;
        terrain.SetFormat(Tavix4::HDX_ABS1);
        Tavix4::sZHPtInfo point;
        point.m_rZH = 500;
        point.m_rZ = 105;
        auto* section = new tkxHdxSection(point);
        section->AddPt(5, 104, Tavix4::WATER_NONE, 1);
        terrain.AddHDXSection(section);
        made = true;
    }
};

} // namespace road_test
