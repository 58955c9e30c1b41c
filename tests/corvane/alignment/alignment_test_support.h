// Shared helpers of the alignment tests: the scratch world of tests/support
// (the whole program runs in a scratch hive, and the library starts inside
// it with no registered project), data-file texts, the station settings of
// the library's current project, and the independent geometry the tests
// check the library against.
#pragma once
#include "support/LibraryWorld.h"
#include <string>
#include <vector>

namespace alignment_test {

using namespace test_support;

constexpr double kPi = 3.141592653589793;


// Fresnel-type integrals of a clothoid by composite Simpson's rule: the
// point at length L from the origin, x along the origin tangent and y to the
// side the curve turns to (the curve's tangent angle is s²/(2A²)).
void ClothoidPoint(double L, double A, double& x, double& y);

// A plan path traced independently of the library: pieces of linear
// curvature (straights, arcs, clothoids), each from the end of the one
// before.  Curvatures are 1/R, 0 for an infinite radius; turn 1 is a left
// turn (the azimuth decreases), -1 a right one.
struct Piece {
    double length;
    double k1; // curvature at the piece's start
    double k2; // curvature at its end
    int turn;
};
struct TracedPoint {
    double x, y, azimuth;
};
// The point at distance s from the start: the azimuth is integrated in closed
// form, the coordinates by composite Simpson's rule.
TracedPoint TracePath(double x0, double y0, double azimuth0, const std::vector<Piece>& pieces, double s);

// A road of several curves in the alignment unit file's form: a straight,
// a right-turning spiral-arc-spiral curve, a straight, then a left-turning
// run of spirals of every kind around an arc that crosses north, and a
// closing straight.  Start station 1000 at X 2000, Y 5000, azimuth 0.4;
// 1880 m long.
const wchar_t* SeveralCurvesText();
constexpr double kRoadStartStation = 1000, kRoadStartX = 2000, kRoadStartY = 5000, kRoadStartAzimuth = 0.4;
constexpr double kRoadLength = 1880;
// The same road as pieces for TracePath.
std::vector<Piece> SeveralCurvesPieces();

} // namespace alignment_test
