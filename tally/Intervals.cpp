#include "tally/Intervals.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "tally/StatHelpers.h"

namespace obrenta::tally {

namespace {

constexpr double kPi = 3.141592653589793238462643383279502884;
constexpr double kEpsilon = std::numeric_limits<double>::epsilon();

// δ(x) = ln Γ(x) − ((x − ½) ln x − x + ½ ln 2π), by its asymptotic series (x ≥ 30: the first
// omitted term is below 1e-22).
double StirlingError(double x) {
    const double r = 1 / x;
    const double r2 = r * r;
    return r * (1.0 / 12 - r2 * (1.0 / 360 - r2 * (1.0 / 1260 - r2 * (1.0 / 1680 - r2 * (1.0 / 1188)))));
}

// Γ(a + ½) / Γ(a) for a > 0 without forming either: ln Γ(a) of a large a is a large number whose
// rounding would be most of the ratio's error. From a ≥ 30 by Stirling's series; below, by
// Γ(a + 3/2) / Γ(a + 1) = (a + ½) / a · Γ(a + ½) / Γ(a) from above.
double GammaHalfRatio(double a) {
    double factor = 1;
    while (a < 30) {
        factor *= a / (a + 0.5);
        a += 1;
    }
    const double log = a * std::log1p(0.5 / a) - 0.5 + StirlingError(a + 0.5) - StirlingError(a);
    return factor * std::sqrt(a) * std::exp(log);
}

// The continued fraction of I_x(a, b) (modified Lentz), which converges quickly for
// x < (a + 1) / (a + b + 2).
double BetaFraction(double x, double a, double b) {
    constexpr double kTiny = 1e-300;
    const auto guard = [](double v) { return std::fabs(v) < kTiny ? kTiny : v; };
    double c = 1;
    double d = 1 / guard(1 - (a + b) * x / (a + 1));
    double h = d;
    for (int m = 1; m < 10'000'000; ++m) {
        const double m2 = 2.0 * m;
        double aa = m * (b - m) * x / ((a - 1 + m2) * (a + m2));
        d = 1 / guard(1 + aa * d);
        c = guard(1 + aa / c);
        h *= d * c;
        aa = -(a + m) * (a + b + m) * x / ((a + m2) * (a + 1 + m2));
        d = 1 / guard(1 + aa * d);
        c = guard(1 + aa / c);
        const double step = d * c;
        h *= step;
        if (std::fabs(step - 1) <= kEpsilon / 2) break;
    }
    return h;
}

// P(T > t) for t ≥ 0 with nu degrees of freedom, = ½ I_x(nu/2, ½) at x = nu / (nu + t²). Both x
// and 1 − x are formed from t, never one from the other, and the prefactor
// x^a (1 − x)^½ / B(a, ½) from logarithms of moderate size. The fraction of I_x(a, ½) gives the
// tail without cancellation, but near x = 1 its terms approach −1 and its error grows with a;
// from a = 2000 on, or beyond its range, the tail is 1 − I_{1−x}(½, a), which loses a factor
// of about 20 to the subtraction and nothing more.
double UpperTail(double t, double nu) {
    const double a = nu / 2;
    const double ratio = t * t / nu;
    const double x = 1 / (1 + ratio);
    const double y = ratio / (1 + ratio);
    // x^a = (1 + t²/nu)^(−a)
    const double front = std::exp(-a * std::log1p(ratio)) * std::sqrt(y) * GammaHalfRatio(a) / std::sqrt(kPi);
    if (x < (a + 1) / (a + 2.5) && a < 2000) return 0.5 * front / a * BetaFraction(x, a, 0.5);
    return 0.5 * (1 - front / 0.5 * BetaFraction(y, 0.5, a));
}

// The density of t at t.
double Density(double t, double nu) {
    return std::exp(-(nu + 1) / 2 * std::log1p(t * t / nu)) * GammaHalfRatio(nu / 2) / std::sqrt(nu * kPi);
}

}  // namespace

double RegularizedBeta(double x, double a, double b) {
    if (x <= 0) return 0;
    if (x >= 1) return 1;
    const double logFront =
        std::lgamma(a + b) - std::lgamma(a) - std::lgamma(b) + a * std::log(x) + b * std::log1p(-x);
    const double front = std::exp(logFront);
    if (x < (a + 1) / (a + b + 2)) return front / a * BetaFraction(x, a, b);
    return 1 - front / b * BetaFraction(1 - x, b, a);
}

double StudentTQuantile(double p, double nu) {
    if (!(p > 0 && p < 1) || !(nu > 0)) return std::numeric_limits<double>::quiet_NaN();
    if (p < 0.5) return -StudentTQuantile(1 - p, nu);
    if (p == 0.5) return 0;
    const double q = 1 - p;  // exact for p ≥ ½
    // A bracket [low, high] with UpperTail(low) ≥ q ≥ UpperTail(high), then Newton's steps kept
    // inside it; the tail falls as t grows.
    double low = 0;
    double high = 1;
    while (UpperTail(high, nu) > q) {
        low = high;
        high *= 2;
        if (std::isinf(high)) return high;
    }
    double t = (low + high) / 2;
    for (int step = 0; step < 200; ++step) {
        const double tail = UpperTail(t, nu);
        if (tail > q) {
            low = t;
        } else {
            high = t;
        }
        double next = t + (tail - q) / Density(t, nu);
        if (!(next > low && next < high)) next = (low + high) / 2;
        if (std::fabs(next - t) <= 2 * kEpsilon * t || high - low <= 2 * kEpsilon * t) {
            t = next;
            break;
        }
        t = next;
    }
    return t;
}

double StudentT95(double nu) {
    return StudentTQuantile(0.975, nu);
}

MeanEstimate MeanOf(double sum, double squareSum, std::int64_t n) {
    MeanEstimate mean;
    if (n <= 0) return mean;
    const auto size = static_cast<double>(n);
    mean.n = n;
    mean.valid = true;
    mean.value = sum / size;
    if (n < 2) return mean;
    mean.variance = stat::SampleVariance(sum, squareSum, size);
    mean.hasInterval = true;
    mean.halfWidth = StudentT95(size - 1) * std::sqrt(mean.variance) / std::sqrt(size);
    mean.low = mean.value - mean.halfWidth;
    mean.high = mean.value + mean.halfWidth;
    return mean;
}

Estimate WilsonRate(std::int64_t count, std::int64_t n, double scale) {
    Estimate rate;
    if (n <= 0) return rate;
    const auto size = static_cast<double>(n);
    const double p = static_cast<double>(count) / size;
    const double z2 = kZ95 * kZ95;
    const double centre = (p + z2 / (2 * size)) / (1 + z2 / size);
    const double half = kZ95 / (1 + z2 / size) * std::sqrt(p * (1 - p) / size + z2 / (4 * size * size));
    rate.valid = true;
    rate.hasInterval = true;
    rate.value = p * scale;
    rate.low = std::max(centre - half, 0.0) * scale;
    rate.high = std::min(centre + half, 1.0) * scale;
    return rate;
}

Estimate WelchDifference(const MeanEstimate& a, const MeanEstimate& b) {
    Estimate difference;
    if (!a.hasInterval || !b.hasInterval) return difference;
    difference.valid = true;
    difference.value = a.value - b.value;
    const double ea = a.variance / static_cast<double>(a.n);
    const double eb = b.variance / static_cast<double>(b.n);
    const double squared = ea + eb;
    if (!(squared > 0)) return difference;
    // Welch–Satterthwaite: (ea + eb)² / (ea² / (na − 1) + eb² / (nb − 1)).
    const double nu =
        squared * squared / (ea * ea / static_cast<double>(a.n - 1) + eb * eb / static_cast<double>(b.n - 1));
    difference.hasInterval = true;
    difference.halfWidth = StudentT95(nu) * std::sqrt(squared);
    difference.low = difference.value - difference.halfWidth;
    difference.high = difference.value + difference.halfWidth;
    return difference;
}

Estimate NewcombeDifference(const Estimate& a, const Estimate& b) {
    Estimate difference;
    if (!a.hasInterval || !b.hasInterval) return difference;
    const auto square = [](double v) { return v * v; };
    difference.valid = true;
    difference.hasInterval = true;
    difference.value = a.value - b.value;
    difference.low = difference.value - std::sqrt(square(a.value - a.low) + square(b.high - b.value));
    difference.high = difference.value + std::sqrt(square(a.high - a.value) + square(b.value - b.low));
    return difference;
}

}  // namespace obrenta::tally
