// One step of the performance graph, and one paint of the gauge.
#include "components/Cgauges.h"
#include "components/Perfgrap.h"

#include <benchmark/benchmark.h>

namespace {

void GraphStep(benchmark::State& state)
{
    TPerformanceGraph graph;
    graph.resize(static_cast<int>(state.range(0)), 100);
    graph.grab();  // sizes the history and the picture
    const QColor colors[] = {Qt::yellow, Qt::cyan, Qt::magenta, Qt::white};
    // Values under the scale: every step is an ordinary one, never a replay.
    graph.SetScale(1000);
    int tick = 0;
    for (auto _ : state) {
        for (int series = 0; series < 4; ++series)
            graph.DataPoint(colors[series], 100 + 200 * series + (tick + series) % 50);
        graph.Update();
        ++tick;
    }
    state.counters["replays"] = graph.ReplayCount();
}

void GaugePaint(benchmark::State& state)
{
    TCGauge gauge;
    const int side = static_cast<int>(state.range(0));
    gauge.resize(side, side);
    gauge.SetProgress(50);
    for (auto _ : state)
        benchmark::DoNotOptimize(gauge.Render());
}

} // namespace

BENCHMARK(GraphStep)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);
BENCHMARK(GaugePaint)->Arg(100)->Arg(1000)->Unit(benchmark::kMicrosecond);
