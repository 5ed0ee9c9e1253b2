#pragma once

#include <vector>

// Two-sample tests for comparing the outcome distributions of two generators.

// Chi-square test of homogeneity for two samples of integer outcomes. Neighbouring values are pooled
// until every class holds at least minPerClass observations of both samples together. Returns the
// p-value (1 when fewer than two classes remain).
double chiSquareTwoSample(const std::vector<int> &a, const std::vector<int> &b, int minPerClass = 20);

// Two-sample Kolmogorov-Smirnov test; returns the asymptotic p-value (conservative for discrete data).
double kolmogorovSmirnovTwoSample(std::vector<int> a, std::vector<int> b);

// Regularised upper incomplete gamma function Q(s, x), for the chi-square tail.
double upperIncompleteGammaQ(double s, double x);
