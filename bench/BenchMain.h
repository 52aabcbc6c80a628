#pragma once

#include <benchmark/benchmark.h>

#include "bench/BenchLog.h"

// main() of a benchmark program that works on the bench log.
#define OBRENTA_BENCH_MAIN()                                                    \
    int main(int argc, char** argv) {                                           \
        benchmark::Initialize(&argc, argv);                                     \
        obrenta::bench::InitBenchLog(argc, argv);                               \
        if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;       \
        benchmark::AddCustomContext("log", obrenta::bench::TheBenchLog().path); \
        benchmark::RunSpecifiedBenchmarks();                                    \
        benchmark::Shutdown();                                                  \
        return 0;                                                               \
    }
