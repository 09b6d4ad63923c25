// The entry point of the benchmarks that paint with Qt: a painting application without a
// display and the program's allocator settings, then Google Benchmark as usual.
#include <QGuiApplication>
#include <benchmark/benchmark.h>

#include "app/memory_policy.h"

int main(int argc, char** argv) {
    kq::KeepFreedMemory();  // as the program has it
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
