#pragma once

#include <QTest>

// QTRY_COMPARE without QtTest's own macro, whose timeout arithmetic since Qt 6.8 narrows a long
// to an int in the test's code (a -Wconversion warning in every test that uses it): waits up to
// 5 s, handling events, for `actual` to equal `expected`, then compares the two as QCOMPARE
// does, with its message when they still differ.
#define SERVO_TRY_COMPARE(actual, expected)                                                        \
    do {                                                                                           \
        static_cast<void>(QTest::qWaitFor([&] { return (actual) == (expected); }));                \
        QCOMPARE(actual, expected);                                                                \
    } while (false)
