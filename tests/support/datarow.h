#pragma once

#include <QtTest>

// Adds one data row named name with the given values, in column order: one call per row keeps a
// row on one line, where a chain of << would be broken into one line per value.
template <typename... Values> void addRow(const char *name, const Values &...values) {
    (QTest::newRow(name) << ... << values);
}
