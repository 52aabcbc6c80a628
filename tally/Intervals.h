#pragma once

#include <cstdint>

// The 95% intervals of the 推移 and 打ち筋 pages: Student's t for means and for differences of
// means (Welch), Wilson for rates and Newcombe's hybrid score for differences of rates. Each
// holds at small samples, where the normal approximation marks differences that are chance.
namespace obrenta::tally {

// The two-sided 95% point of the normal distribution, as the Wilson interval uses it.
inline constexpr double kZ95 = 1.96;

// The regularised incomplete beta function I_x(a, b) for 0 ≤ x ≤ 1 and a, b > 0.
double RegularizedBeta(double x, double a, double b);

// The p quantile of Student's t distribution with nu > 0 degrees of freedom (nu real, not
// rounded), to double precision; 0 < p < 1.
double StudentTQuantile(double p, double nu);

// The 0.975 quantile: the half-width of a two-sided 95% interval in standard errors.
double StudentT95(double nu);

// An interval [low, high] around value; none when there is nothing to build it from.
struct Estimate {
    bool valid = false;        // the value exists
    bool hasInterval = false;  // and so does its interval
    double value = 0;
    double low = 0;
    double high = 0;
    double halfWidth = 0;  // of a symmetric interval: high − value = value − low
};

// A mean of n values from their sum and the sum of their squares: t with n − 1 degrees of
// freedom, so from n = 2 on; below that the value (n = 1) or nothing.
struct MeanEstimate : Estimate {
    double variance = 0;  // the sample variance s²
    std::int64_t n = 0;
};
MeanEstimate MeanOf(double sum, double squareSum, std::int64_t n);

// count of n times scale (100: percent), with its Wilson score interval; nothing for n ≤ 0.
Estimate WilsonRate(std::int64_t count, std::int64_t n, double scale = 100);

// a − b, with Welch's interval (t at the Welch–Satterthwaite degrees of freedom); none when
// either side has no interval or both variances are 0.
Estimate WelchDifference(const MeanEstimate& a, const MeanEstimate& b);
// a − b of two rates with their Wilson intervals, with Newcombe's hybrid score interval; none
// when either side has no interval.
Estimate NewcombeDifference(const Estimate& a, const Estimate& b);

// An interval that lies wholly above or below zero.
inline bool ExcludesZero(const Estimate& e) {
    return e.hasInterval && (e.low > 0 || e.high < 0);
}

}  // namespace obrenta::tally
