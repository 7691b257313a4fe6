#pragma once

#include <QTest>

// One row of a data-driven test: its name, then the values of its columns
// in order.
template<class... Values> void addRow(const char *name, const Values &...values)
{
    (QTest::newRow(name) << ... << values);
}
