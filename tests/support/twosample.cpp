#include "twosample.h"

#include <algorithm>
#include <cmath>
#include <map>

namespace {

// Series for the lower function P(s, x), good for x < s + 1.
double lowerGammaSeries(double s, double x) {
    double term = 1.0 / s;
    double sum = term;
    for (int n = 1; n < 100000; ++n) {
        term *= x / (s + n);
        sum += term;
        if (std::fabs(term) < std::fabs(sum) * 1e-16)
            break;
    }
    return sum * std::exp(-x + s * std::log(x) - std::lgamma(s));
}

// Continued fraction for Q(s, x) (modified Lentz), good for x >= s + 1.
double upperGammaFraction(double s, double x) {
    const double tiny = 1e-300;
    double b = x + 1.0 - s;
    double c = 1.0 / tiny;
    double d = 1.0 / b;
    double h = d;
    for (int i = 1; i < 100000; ++i) {
        const double an = -i * (i - s);
        b += 2.0;
        d = an * d + b;
        if (std::fabs(d) < tiny)
            d = tiny;
        c = b + an / c;
        if (std::fabs(c) < tiny)
            c = tiny;
        d = 1.0 / d;
        const double step = d * c;
        h *= step;
        if (std::fabs(step - 1.0) < 1e-16)
            break;
    }
    return std::exp(-x + s * std::log(x) - std::lgamma(s)) * h;
}

} // namespace

double upperIncompleteGammaQ(double s, double x) {
    if (x <= 0)
        return 1.0;
    if (x < s + 1.0)
        return 1.0 - lowerGammaSeries(s, x);
    return upperGammaFraction(s, x);
}

double chiSquareTwoSample(const std::vector<int> &a, const std::vector<int> &b, int minPerClass) {
    std::map<int, std::pair<double, double>> counts;
    for (int v : a)
        counts[v].first += 1;
    for (int v : b)
        counts[v].second += 1;
    // Pool neighbouring values into classes that are large enough for the chi-square approximation.
    std::vector<std::pair<double, double>> classes;
    std::pair<double, double> open{0, 0};
    for (const auto &entry : counts) {
        open.first += entry.second.first;
        open.second += entry.second.second;
        if (open.first + open.second >= minPerClass) {
            classes.push_back(open);
            open = {0, 0};
        }
    }
    if (open.first + open.second > 0) {
        if (classes.empty()) {
            classes.push_back(open);
        } else {
            classes.back().first += open.first;
            classes.back().second += open.second;
        }
    }
    if (classes.size() < 2)
        return 1.0;
    const double na = static_cast<double>(a.size());
    const double nb = static_cast<double>(b.size());
    double statistic = 0;
    for (const auto &c : classes) {
        const double diff = std::sqrt(nb / na) * c.first - std::sqrt(na / nb) * c.second;
        statistic += diff * diff / (c.first + c.second);
    }
    const double degrees = static_cast<double>(classes.size() - 1);
    return upperIncompleteGammaQ(degrees / 2.0, statistic / 2.0);
}

double kolmogorovSmirnovTwoSample(std::vector<int> a, std::vector<int> b) {
    if (a.empty() || b.empty())
        return 1.0;
    std::sort(a.begin(), a.end());
    std::sort(b.begin(), b.end());
    const double na = static_cast<double>(a.size());
    const double nb = static_cast<double>(b.size());
    std::size_t i = 0;
    std::size_t k = 0;
    double largest = 0;
    while (i < a.size() && k < b.size()) {
        const int v = std::min(a[i], b[k]);
        while (i < a.size() && a[i] == v)
            ++i;
        while (k < b.size() && b[k] == v)
            ++k;
        largest = std::max(largest, std::fabs(static_cast<double>(i) / na - static_cast<double>(k) / nb));
    }
    const double lambda = std::sqrt(na * nb / (na + nb)) * largest;
    if (lambda < 0.2)
        return 1.0;
    // Kolmogorov distribution: Q(lambda) = 2 sum (-1)^(j-1) exp(-2 j^2 lambda^2).
    double sum = 0;
    for (int j = 1; j <= 100; ++j) {
        const double term = std::exp(-2.0 * j * j * lambda * lambda);
        sum += (j % 2 == 1 ? 2.0 : -2.0) * term;
        if (term < 1e-18)
            break;
    }
    return std::min(std::max(sum, 0.0), 1.0);
}
