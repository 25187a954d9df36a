#pragma once
// For the benchmarks of windows: the program's main, which makes the
// application (offscreen unless a platform is named) and runs the benchmarks
// the file registered.
#include <benchmark/benchmark.h>

#include <QApplication>

inline int runWindowBenchmarks(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

#define NUTRIMO_WINDOW_BENCHMARK_MAIN() \
    int main(int argc, char** argv) { return runWindowBenchmarks(argc, argv); }
