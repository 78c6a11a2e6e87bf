// Reading, sorting and showing large catalogues.
#include "catalogue/catalogue_order.h"
#include "store/catalogue_file.h"
#include "support/fake_services.h"
#include "support/temp_dir.h"
#include "app/mainform.h"

#include <QApplication>

#include <benchmark/benchmark.h>

#include <random>

namespace {

AvailablePathVector RandomCatalogue(std::int64_t count)
{
    std::mt19937 random(42);
    std::uniform_int_distribution<int> letter('a', 'z');
    AvailablePathVector list;
    list.reserve(static_cast<std::size_t>(count));
    for (std::int64_t i = 0; i < count; ++i) {
        std::string server(8, ' ');
        for (auto& c : server)
            c = static_cast<char>(letter(random));
        list.push_back({"\\\\" + server + "\\share" + std::to_string(i), "Description of share " + std::to_string(i),
                        static_cast<std::uint8_t>(i % 2)});
    }
    return list;
}

void ReadCatalogue(benchmark::State& state)
{
    TempDir dir;
    WriteBytes(dir / "Corvane2.net", FormatCatalogue(RandomCatalogue(state.range(0))));
    for (auto _ : state) {
        AvailablePathVector list;
        benchmark::DoNotOptimize(ReadCatalogueFile(dir / "Corvane2.net", list));
    }
    state.SetComplexityN(state.range(0));
}

void SortCatalogueBench(benchmark::State& state)
{
    const auto unsorted = RandomCatalogue(state.range(0));
    // Refilled outside the timing, so that freeing the last round's records
    // is not counted as sorting.
    AvailablePathVector list;
    for (auto _ : state) {
        state.PauseTiming();
        list = unsorted;
        state.ResumeTiming();
        SortCatalogue(list);
    }
    state.SetComplexityN(state.range(0));
}

void ShowCatalogue(benchmark::State& state)
{
    TempDir dir;
    WriteBytes(dir / "Corvane2.net", "0 2.0");
    FakeUi ui;
    FakeDrives drives;
    FakeRunner runner;
    FakeBrowser browser;
    FakeShell shell;
    FakeHelp help;
    TMainPRGForm form(dir.Path(), {drives, runner, browser, shell, help}, ui);
    form.show();
    const auto unsorted = RandomCatalogue(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        form.AvailablePathList = unsorted;
        state.ResumeTiming();
        form.RefreshCatalogueView(true);
        QApplication::processEvents();
    }
    state.SetComplexityN(state.range(0));
}

} // namespace

BENCHMARK(ReadCatalogue)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->Complexity();
BENCHMARK(SortCatalogueBench)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->Complexity();
BENCHMARK(ShowCatalogue)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->Complexity();
