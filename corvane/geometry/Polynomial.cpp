// Roots of a real polynomial: Newton's method with a damped step, a circle
// search where the derivative vanishes or the steps stop improving, and
// deflation by each root (or complex pair) found.
#include "corvane/geometry/Numeric.h"
#include "corvane/base/LastError.h"

#include <algorithm>
#include <cmath>
#include <complex>

namespace {

using Complex = std::complex<double>;

// The polynomial a[0] z^k + a[1] z^(k-1) + ... + a[k] (leading coefficient
// first) at z.
Complex Evaluate(const double* a, int k, Complex z)
{
    Complex u(a[0], 0.0);
    for (int i = 1; i <= k; ++i)
        u = u * z + a[i];
    return u;
}

// Its derivative at z.
Complex Derivative(const double* a, int k, Complex z)
{
    Complex d(k * a[0], 0.0);
    for (int i = 2; i <= k; ++i)
        d = d * z + static_cast<double>(k - i + 1) * a[i - 1];
    return d;
}

// One root of the degree-k polynomial a (leading coefficient first, scaled so
// that |a[k]| is 1), searched from 0.0001 + 0.2i.
class RootSearch
{
public:
    RootSearch(const double* a, int k) : m_a(a), m_k(k), m_step(6.28 / (4.5 * k)) {}

    Complex Find()
    {
        m_trial = Complex(0.0001, 0.2);
        m_factor = 1.0 + 4.0 / m_k;
        // Each evaluation either improves the best value or narrows the
        // search; the cap only guards against coefficients that keep it
        // from settling (NaN, overflow).
        for (int evaluations = 0; evaluations < 200000; ++evaluations) {
            const Complex f = Evaluate(m_a, m_k, m_trial);
            const double g = std::norm(f);
            if (g < m_best) {
                m_best = g;
                m_base = m_trial;
                m_circle = false;
                if (m_best <= 1e-22)
                    return m_base;
                const Complex d = Derivative(m_a, m_k, m_base);
                if (std::norm(d) > 1e-20) {
                    m_correction = f / d;
                    m_factor = 1.0 + 4.0 / m_k;
                    if (!NewtonStep())
                        return m_base;
                } else if (!StartCircle()) {
                    return m_base;
                }
                continue;
            }
            if (m_circle) {
                if (!NextProbe())
                    return m_base;
            } else if (!NewtonStep()) {
                return m_base;
            }
        }
        return m_base;
    }

private:
    // Damps the step and sets the next trial point; false when the base is
    // to be taken as the root.
    bool NewtonStep()
    {
        do {
            m_factor /= 1.67;
            m_trial = m_base - m_factor * m_correction;
        } while (m_k >= 50 && std::abs(m_trial) >= std::exp(85.0 / m_k));
        if (m_factor >= 0.001)
            return true;
        if (m_best <= 1e-18)
            return false;
        return StartCircle();
    }

    bool StartCircle()
    {
        m_circle = true;
        m_radius = std::min(std::abs(m_correction), 1.0);
        m_angle = 0.0;
        return NextProbe();
    }

    // Next point on the circle round the base, shrinking the circle after
    // each full turn; false when it has shrunk to nothing.
    bool NextProbe()
    {
        for (;;) {
            m_angle += m_step;
            if (m_angle <= 6.29) {
                m_correction = m_radius * Complex(std::cos(m_angle), std::sin(m_angle));
                m_trial = m_base + m_correction;
                return true;
            }
            m_radius /= 1.67;
            if (m_radius <= 1e-7)
                return false;
            m_angle = 0.0;
        }
    }

    const double* m_a;
    int m_k;
    double m_step;
    Complex m_base{0.0, 0.0};
    Complex m_trial{0.0, 0.0};
    Complex m_correction{1.0, 0.0};
    double m_best = 1e37;
    double m_factor = 1.0;
    bool m_circle = false;
    double m_radius = 0.0;
    double m_angle = 0.0;
};

} // namespace

int tkx_Polynomial_Newtom(double* a, int n, double* re, double* im)
{
    if (re && im) {
        for (int i = 0; i < n; ++i) {
            re[i] = 0.0;
            im[i] = 0.0;
        }
    }
    int m = a ? n : 0;
    while (m > 0 && std::fabs(a[m]) + 1.0 == 1.0)
        --m;
    if (m <= 0 || !re || !im) {
        tkx_SetLastError(L"求解实系数代数方程时出错，请检查方程阶数和各系数");
        return -1;
    }

    // Monic, leading coefficient first.
    const double lead = a[m];
    for (int i = 0; i <= m; ++i)
        a[i] /= lead;
    std::reverse(a, a + m + 1);

    double scale = 1.0;   // roots of the working polynomial times scale are the roots sought
    int k = m;
    for (;;) {
        // A vanishing constant term: 0 is a root.
        while (std::fabs(a[k]) < 1e-12) {
            re[k - 1] = 0.0;
            im[k - 1] = 0.0;
            --k;
            if (k == 0)
                return 1;
            if (k == 1) {
                re[0] = -a[1] * scale / a[0];
                im[0] = 0.0;
                return 1;
            }
        }

        // Scale the variable so that the constant term has modulus 1.
        const double q = std::pow(std::fabs(a[k]), 1.0 / k);
        scale *= q;
        double qi = q;
        for (int i = 1; i <= k; ++i) {
            a[i] /= qi;
            qi *= q;
        }

        const Complex root = RootSearch(a, k).Find();
        const double x = root.real();
        const double y = root.imag();
        if (std::fabs(y) <= 1e-6 || k < 2) {
            re[k - 1] = x * scale;
            im[k - 1] = 0.0;
            // Divide by (z - x).
            for (int i = 1; i < k; ++i)
                a[i] += x * a[i - 1];
            k -= 1;
        } else {
            re[k - 1] = x * scale;
            im[k - 1] = -y * scale;
            re[k - 2] = x * scale;
            im[k - 2] = y * scale;
            // Divide by z^2 - 2xz + x^2 + y^2.
            const double p = -2.0 * x;
            const double r = x * x + y * y;
            if (k - 2 >= 1)
                a[1] -= p * a[0];
            for (int i = 2; i <= k - 2; ++i)
                a[i] -= p * a[i - 1] + r * a[i - 2];
            k -= 2;
        }
        if (k == 0)
            return 1;
        if (k == 1) {
            re[0] = -a[1] * scale / a[0];
            im[0] = 0.0;
            return 1;
        }
    }
}
