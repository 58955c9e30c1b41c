// The operating-speed computation of a speed section: entry, middle and exit
// speed of a car or a truck from the section type, its radius and grade and
// those of its neighbours.
#include "corvane/base/LastError.h"
#include "corvane/project/StationText.h"
#include "corvane/section/SpeedSection.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <ctime>
#include <utility>

using namespace Tavix4;

namespace {

// Truck upgrade reduction: ramp lengths (m), grades on a long ramp (%) and
// the speed reductions (km/h) they belong to.
const double kLength[7] = {0, 68.008193, 168.485859, 252.520654, 333.940749, 397.563859, 463.32855};
const double kLongGrade[7] = {0, 1.816797, 2.411196, 3.100521, 3.818756, 4.626601, 5.056475};
const double kReduction[7] = {0, 5, 10, 15, 20, 25, 30};
constexpr double kGradeLimit = 10;    // %
constexpr double kLongRamp = 1300;    // m

struct Term {
    double a, b, c;
};
// Grade curve j: the grade (%) at which a truck has lost kReduction[j] on a
// ramp of length x, as a sum of a * exp(-((x - b) / c)²).
const Term kCurve1[] = {{-282, 8.454, 38.39},   {-0.04165, 261.5, 46.16}, {37.89, 49.9, 7.622},
                        {374.8, 2.456, 40.31},  {2.801, 16.4, 99.72},     {2.385, 61.7, 204.8},
                        {2.35, -118.1, 835.1},  {2.054, -2462, 8501}};
const Term kCurve2[] = {{-5.093, 493.6, 293.1}, {75.59, -72.93, 117.2}, {1.352, 138.5, 51.66}, {2.46, 170.4, 86.25},
                        {1.782, 233.1, 130},    {7.996, 443.5, 340.6},  {2.53, 1020, 1114}};
const Term kCurve3[] = {{0.1101, 1032, 217.2}, {-1.678, 401, 104.7}, {-2.434, 338.6, 179}, {6.268, 132.2, 147.7},
                        {4.402, 377.4, 131.7}, {3.87, 143.9, 594.1}, {3.4, 38.83, 3507}};
const Term kCurve4[] = {{0.3942, 343.7, 67.03}, {3.102e8, -803.6, 247.1}, {-13.9, -337.1, 492.4},
                        {0.3306, 323.6, 24.48}, {5.287, 158.2, 307.5},    {5.427, -133.4, 1016},
                        {3.791, -21590, 49190}};
const Term kCurve5[] = {{0.4762, 327.2, 69.59}, {6.355, -114.6, 378.2}, {6.323, -110, 753.9}, {4.841, 612.4, 2246}};
const Term kCurve6[] = {{126.8, -461, 395.4}, {6.946, -131.5, 758.3}, {5.712, 310.2, 2463}};

template <size_t N>
double SumTerms(const Term (&terms)[N], double x)
{
    double sum = 0;
    for (const Term& t : terms) {
        const double u = (x - t.b) / t.c;
        sum += t.a * std::exp(-u * u);
    }
    return sum;
}

// The first j in 1..6 with D[j-1] <= L <= D[j]; 0 when there is none.
int LengthStep(double L)
{
    for (int j = 1; j <= 6; ++j)
        if (kLength[j - 1] <= L && L <= kLength[j]) return j;
    return 0;
}

bool IsStraight(double radius) { return radius > 99999999.999999 || radius < 1e-6; }

// The next value of the C library's generator in [0, 1]; the generator is
// seeded from the clock once per thread (its state is per thread).
double NextRandom()
{
    static thread_local bool seeded = false;
    if (!seeded) {
        std::srand(static_cast<unsigned>(std::time(nullptr)));
        seeded = true;
    }
    return std::rand() / 32767.0;
}

} // namespace

void tkxSpeedSection::SetVehicleType(int type) { m_iVehicleType = type; }

void tkxSpeedSection::SetDesignSpeed(double designSpeed, double desiredSpeed)
{
    m_iDesignSpeed = static_cast<int>(designSpeed);
    m_rDesiredSpeed = desiredSpeed;
}

void tkxSpeedSection::SetStartSpeed()
{
    static const int kDesign[4] = {60, 80, 100, 120};
    static const double kCar[4] = {80, 95, 110, 120};
    static const double kTruck[4] = {55, 65, 75, 75};
    const int* found = std::find(std::begin(kDesign), std::end(kDesign), m_iDesignSpeed);
    if (found == std::end(kDesign)) {
        AfxMessageBox(m_iVehicleType == 0 ? L"error in Set_v_in for car" : L"error in Set_v_in for trucks", MB_OK);
        return;
    }
    const size_t k = static_cast<size_t>(found - kDesign);
    m_rInSpeed = m_iVehicleType == 0 ? kCar[k] : kTruck[k];
}

void tkxSpeedSection::SetStartSpeed(double speed) { m_rInSpeed = speed; }

void tkxSpeedSection::SetAcceleration(int mode)
{
    const bool car = m_iVehicleType == 0;
    switch (mode) {
    case 0: m_rAcceleration = car ? 0.15 : 0.2; break;
    case 1: m_rAcceleration = car ? 0.5 : 0.25; break;
    case 2: m_rAcceleration = car ? 0.325 : 0.225; break;
    case 3: m_rAcceleration = car ? 0.15 + 0.35 * NextRandom() : 0.2 + 0.05 * NextRandom(); break;
    default: AfxMessageBox(L"error in SetAcceleration", MB_OK); break;
    }
}

void tkxSpeedSection::SetAcceleration(double acceleration) { m_rAcceleration = acceleration; }

double tkxSpeedSection::DefaultAcceleration(int vehicleType) { return vehicleType != 0 ? 0.225 : 0.325; }

void tkxSpeedSection::SetReverse(bool reverse) { m_bReverse = (m_bReverse & ~1) | (reverse ? 1 : 0); }

void tkxSpeedSection::TurnTo(bool reversed)
{
    if (((m_bReverse & 2) != 0) == reversed) return;
    std::swap(m_rBackRadius, m_rFrontRadius);
    const double back = m_rBackSlope;
    m_rBackSlope = -m_rFrontSlope;
    m_rFrontSlope = -back;
    m_rSlope = -m_rSlope;
    m_bReverse ^= 2;
}

void tkxSpeedSection::ComputeSpeed()
{
    TurnTo((m_bReverse & 1) != 0);
    const double L = length(), v = m_rInSpeed, w = m_rDesiredSpeed, a = m_rAcceleration;
    const bool car = m_iVehicleType == 0;
    switch (m_iSectionType) {
    case SST_STRAIGHT: {
        m_rAccelerationLength = 0;
        if (v - w >= -1e-6) {
            m_rSpeed = m_rMidSpeed = w;
        } else {
            const double vs = v / 3.6;
            m_rSpeed = 3.6 * std::sqrt(vs * vs + 2 * a * L);
            if (m_rSpeed > w) {
                m_rSpeed = w;
                m_rAccelerationLength = tkx_DToF((w * w - v * v) / (2 * a * 3.6 * 3.6), 3);
                if (m_rAccelerationLength > L + 1e-6) m_rAccelerationLength = 0;
            }
            m_rMidSpeed = std::min(3.6 * std::sqrt(vs * vs + a * L), w);
        }
        m_rOutSpeed = m_rSpeed;
        break;
    }
    case SST_GRADE: {
        const double i = m_rSlope;
        if (car) {
            m_rSpeed = i <= 0 ? v + 10 * L / 500 : i > 4 ? v - 8 * L / 1000 : v - 5 * L / 1000;
        } else if (i < -4) {
            m_rSpeed = v + 15 * L / 500;
        } else if (i <= 0) {
            m_rSpeed = v + 10 * L / 500;
        } else {
            // Beyond the tables (a long ramp steeper than they reach) the
            // truck has lost at least the tables' last reduction.
            const double loss = CalculateTruckUpgrade(i, L);
            m_rSpeed = v - (loss >= 0 ? loss : L > 0 ? kReduction[6] : 0.0);
        }
        m_rMidSpeed = std::min((v + m_rSpeed) / 2, w);
        m_rOutSpeed = std::min(m_rSpeed, w);
        break;
    }
    case SST_CURVE:
    case SST_CURVE_GRADE: {
        const double lnR = std::log(std::fabs(m_rRadius)), lnRb = std::log(std::fabs(m_rBackRadius));
        const double lnRf = std::log(std::fabs(m_rFrontRadius));
        const double ib = m_rBackSlope, iff = m_rFrontSlope;
        const bool straightBehind = IsStraight(m_rBackRadius), straightAhead = IsStraight(m_rFrontRadius);
        double s = 0, out = 0;
        if (m_iSectionType == SST_CURVE) {
            if (car) {
                s = straightBehind ? -24.212 + 0.834 * v + 5.729 * lnR : 1.277 + 0.924 * v + 6.19 * lnR - 5.959 * lnRb;
                out = straightAhead ? 11.946 + 0.908 * s : -11.299 + 0.936 * s - 2.0601 * lnR + 5.203 * lnRf;
            } else {
                s = straightBehind ? -9.432 + 0.963 * v + 1.522 * lnR : -24.472 + 0.99 * v + 3.629 * lnR;
                out = straightAhead ? 5.217 + 0.926 * s : 5.899 + 0.925 * s - 1.005 * lnR + 0.329 * lnRf;
            }
        } else if (car) {
            s = straightBehind ? -31.669 + 0.574 * v + 11.714 * lnR + 0.176 * ib
                               : 0.75 + 0.802 * v + 2.717 * lnR - 0.281 * ib;
            out = straightAhead ? 27.294 + 0.72 * s - 1.444 * iff
                                : 1.819 + 0.839 * s + 1.427 * lnR + 0.782 * lnRf - 0.48 * iff;
        } else {
            s = straightBehind ? 1.782 + 0.859 * v - 0.51 * ib + 1.196 * lnR
                               : -1.798 + 0.977 * v + 0.248 * lnR - 0.133 * ib + 0.23 * lnRb;
            out = straightAhead ? 13.49 + 0.797 * s - 0.697 * iff
                                : 26.837 + 0.83 * s - 3.039 * lnR + 0.109 * lnRf - 0.594 * iff;
        }
        m_rSpeed = s;
        m_rMidSpeed = std::min(s, w);
        m_rOutSpeed = std::min(out, w);
        break;
    }
    case SST_SHORT_STRAIGHT:
        m_rSpeed = m_rMidSpeed = v;
        m_rOutSpeed = m_rSpeed;
        break;
    default: AfxMessageBox(L"error in ComputeSpeed", MB_OK); return;
    }
    // A vehicle that has lost all its speed stands: long steep upgrades one
    // after another, or a sharp curve entered slowly, would otherwise give
    // a negative speed and carry it into the next section.
    m_rSpeed = std::max(m_rSpeed, 0.0);
    m_rMidSpeed = std::max(m_rMidSpeed, 0.0);
    m_rOutSpeed = std::max(m_rOutSpeed, 0.0);
}

double tkxSpeedSection::CalculateTruckUpgrade(double g, double L)
{
    if (g <= 0 || L <= 0) return -1;
    if (g >= kGradeLimit && L >= kLength[6]) return -1;

    // The grade at which each reduction step is reached on this ramp.
    double P[7] = {};
    if (L > kLongRamp) {
        std::copy(std::begin(kLongGrade), std::end(kLongGrade), P);
    } else if (L < kLength[6]) {
        const int m = LengthStep(L);
        for (int j = 1; j < m; ++j) P[j] = CalculatePoly(j, L);
        if (m > 0) P[m] = kGradeLimit;
    } else {
        for (int j = 1; j <= 6; ++j) P[j] = CalculatePoly(j, L);
    }

    if (g >= kGradeLimit - 1e-6) {
        const int j = L < kLength[6] ? LengthStep(L) : 0;
        if (j == 0) return -1;
        return kReduction[j - 1] + 5 * (L - kLength[j - 1]) / (kLength[j] - kLength[j - 1]);
    }
    for (int j = 1; j <= 6; ++j)
        if (P[j - 1] <= g && g <= P[j]) return kReduction[j - 1] + 5 * (g - P[j - 1]) / (P[j] - P[j - 1]);
    return -1;
}

double tkxSpeedSection::CalculatePoly(int j, double x)
{
    switch (j) {
    case 1: return SumTerms(kCurve1, x);
    case 2: return SumTerms(kCurve2, x);
    case 3: return SumTerms(kCurve3, x);
    case 4: return SumTerms(kCurve4, x);
    case 5: return SumTerms(kCurve5, x);
    case 6: return SumTerms(kCurve6, x);
    default:
        tkx_SetLastError(L"tkxSpeedSection::CalculatePoly曲线计算错误");
        AfxMessageBox(L"曲线计算错误!", MB_OK);
        return 0;
    }
}
