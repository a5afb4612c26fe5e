#pragma once

#include "TestSandbox.h"

#include <QApplication>
#include <QTest>

// Like QTEST_MAIN, but the process first gets a sandboxed home of its own.
#define HALVORNSYNC_TEST_MAIN(TestObject)                                                          \
    int main(int argc, char *argv[])                                                               \
    {                                                                                              \
        TestSandbox sandbox;                                                                       \
        QApplication app(argc, argv);                                                              \
        app.setAttribute(Qt::AA_Use96Dpi, true);                                                   \
        QTEST_SET_MAIN_SOURCE_PATH                                                                 \
        TestObject test;                                                                           \
        return QTest::qExec(&test, argc, argv);                                                    \
    }
