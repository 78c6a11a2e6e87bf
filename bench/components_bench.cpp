// One step of the performance graph, one paint of the gauge, and one level
// of the directory outline read and painted.
#include "components/Cdiroutl.h"
#include "components/Cgauges.h"
#include "components/Perfgrap.h"

#include <QCoreApplication>

#include <benchmark/benchmark.h>

#include <filesystem>
#include <random>

namespace {

// One step of a shown graph, 200 pixels high. With painted set, every step
// is also copied to the screen at once, as when steps come slower than frames.
void GraphStep(benchmark::State& state, bool painted)
{
    TPerformanceGraph graph;
    graph.resize(static_cast<int>(state.range(0)), 200);
    graph.show();
    QCoreApplication::processEvents();  // sizes the history and the picture
    const QColor colors[] = {Qt::yellow, Qt::cyan, Qt::magenta, Qt::white};
    // Values under the scale: every step is an ordinary one, never a replay.
    graph.SetScale(1000);
    int tick = 0;
    for (auto _ : state) {
        for (int series = 0; series < 4; ++series)
            graph.DataPoint(colors[series], 100 + 200 * series + (tick + series) % 50);
        graph.Update();
        if (painted)
            QCoreApplication::processEvents();
        ++tick;
    }
    state.counters["replays"] = graph.ReplayCount();
}

void GraphStep(benchmark::State& state)
{
    GraphStep(state, false);
}

void GraphStepPainted(benchmark::State& state)
{
    GraphStep(state, true);
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

// A folder of count subfolders in the temporary folder, removed at the end.
class WideFolder {
public:
    explicit WideFolder(int count)
        : Root(std::filesystem::temp_directory_path() / ("corvane-bench-" + std::to_string(std::random_device()())))
    {
        for (int i = 0; i < count; ++i)
            std::filesystem::create_directories(Root / ("Folder " + std::to_string((i * 7919) % count)));
    }
    ~WideFolder() { std::filesystem::remove_all(Root); }
    WideFolder(const WideFolder&) = delete;
    WideFolder& operator=(const WideFolder&) = delete;

    std::filesystem::path Root;
};

void OutlineLevel(benchmark::State& state)
{
    const WideFolder folder(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        DirectoryOutlineModel outline;
        outline.SetTextCase(TTextCase::tcAsIs);
        outline.SetDirectory(folder.Root.string());
        const auto item = outline.Tree().SelectedItem();
        outline.Tree().SetExpanded(item, true);
        benchmark::DoNotOptimize(outline.Tree().LastChild(item));
    }
}

void OutlinePaint(benchmark::State& state)
{
    const WideFolder folder(static_cast<int>(state.range(0)));
    TCDirectoryOutline outline;
    outline.resize(300, 400);
    outline.SetTextCase(TTextCase::tcAsIs);
    outline.SetDirectory(folder.Root.string());
    auto& items = outline.Model().Tree();
    items.SetExpanded(items.SelectedItem(), true);
    outline.viewport()->grab();  // the lines are worked out once
    for (auto _ : state)
        benchmark::DoNotOptimize(outline.viewport()->grab());
}

} // namespace

BENCHMARK(OutlineLevel)->Arg(1000)->Arg(20000)->Unit(benchmark::kMillisecond);
BENCHMARK(OutlinePaint)->Arg(1000)->Arg(20000)->Unit(benchmark::kMicrosecond);
BENCHMARK(GraphStep)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);
BENCHMARK(GraphStepPainted)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);
BENCHMARK(GaugePaint)->Arg(100)->Arg(1000)->Unit(benchmark::kMicrosecond);
