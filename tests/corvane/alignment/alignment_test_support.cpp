#include "alignment_test_support.h"

#include <algorithm>
#include <cmath>

namespace alignment_test {

namespace {

::testing::Environment* const g_hive = ::testing::AddGlobalTestEnvironment(new LibraryHive(L"alignment"));

} // namespace

void ClothoidPoint(double L, double A, double& x, double& y)
{
    const int n = 4000; // even
    const double h = L / n;
    double sx = 0.0, sy = 0.0;
    for (int i = 0; i <= n; ++i) {
        const double s = i * h;
        const double w = (i == 0 || i == n) ? 1.0 : (i % 2 ? 4.0 : 2.0);
        const double t = s * s / (2.0 * A * A);
        sx += w * std::cos(t);
        sy += w * std::sin(t);
    }
    x = sx * h / 3.0;
    y = sy * h / 3.0;
}

TracedPoint TracePath(double x0, double y0, double azimuth0, const std::vector<Piece>& pieces, double s)
{
    double x = x0, y = y0, a = azimuth0;
    for (const Piece& piece : pieces) {
        if (s <= 0.0) break;
        const double L = std::min(s, piece.length);
        // Azimuth u metres into the piece.
        auto azimuth = [&](double u) {
            return a - piece.turn * (piece.k1 * u + (piece.k2 - piece.k1) * u * u / (2.0 * piece.length));
        };
        const int n = 2 * std::max(50, static_cast<int>(std::ceil(L / 0.2)));
        const double h = L / n;
        double sx = 0.0, sy = 0.0;
        for (int i = 0; i <= n; ++i) {
            const double w = (i == 0 || i == n) ? 1.0 : (i % 2 ? 4.0 : 2.0);
            const double t = azimuth(i * h);
            sx += w * std::sin(t);
            sy += w * std::cos(t);
        }
        x += sx * h / 3.0;
        y += sy * h / 3.0;
        a = azimuth(L);
        s -= piece.length;
    }
    return {x, y, a};
}

const wchar_t* SeveralCurvesText()
{
    return L"1000\n"
           L"5000, 2000, 0.4\n"
           L"1, 200\n"
           L"3, 244.94897427831780, 600, 1\n"
           L"2, 600, 250, 1\n"
           L"4, 244.94897427831780, 600, 1\n"
           L"1, 150\n"
           L"3, 300, 450, -1\n"
           L"5, 300, 450, 225, -1\n"
           L"2, 225, 100, -1\n"
           L"6, 300, 225, 450, -1\n"
           L"4, 300, 450, -1\n"
           L"1, 180\n"
           L"0, 0, 0";
}

std::vector<Piece> SeveralCurvesPieces()
{
    const double k600 = 1.0 / 600, k450 = 1.0 / 450, k225 = 1.0 / 225;
    return {{200, 0, 0, 0},        {100, 0, k600, -1},   {250, k600, k600, -1}, {100, k600, 0, -1},
            {150, 0, 0, 0},        {200, 0, k450, 1},    {200, k450, k225, 1},  {100, k225, k225, 1},
            {200, k225, k450, 1},  {200, k450, 0, 1},    {180, 0, 0, 0}};
}

} // namespace alignment_test
