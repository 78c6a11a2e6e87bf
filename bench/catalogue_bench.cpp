// Reading, sorting and showing large catalogues.
#include "store/catalogue_file.h"
#include "support/fake_services.h"
#include "support/temp_dir.h"
#include "app/mainform.h"
#include "catalogue/catalogue_panel.h"

#include <QApplication>

#include <benchmark/benchmark.h>

#include <malloc.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <random>

namespace {

// What the program holds on the heap, counted as the allocator counts it.
std::atomic<std::int64_t> HeapBytes{0};

void* Allocate(std::size_t size)
{
    void* block = std::malloc(size == 0 ? 1 : size);
    if (!block)
        throw std::bad_alloc();
    HeapBytes += static_cast<std::int64_t>(malloc_usable_size(block));
    return block;
}

void Free(void* block) noexcept
{
    if (!block)
        return;
    HeapBytes -= static_cast<std::int64_t>(malloc_usable_size(block));
    std::free(block);
}

} // namespace

void* operator new(std::size_t size)
{
    return Allocate(size);
}
void* operator new[](std::size_t size)
{
    return Allocate(size);
}
void operator delete(void* block) noexcept
{
    Free(block);
}
void operator delete[](void* block) noexcept
{
    Free(block);
}
void operator delete(void* block, std::size_t) noexcept
{
    Free(block);
}
void operator delete[](void* block, std::size_t) noexcept
{
    Free(block);
}

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
    const auto file = FormatCatalogue(RandomCatalogue(state.range(0)));
    WriteBytes(dir / "Corvane2.net", file);
    std::int64_t held = 0;
    for (auto _ : state) {
        const auto before = HeapBytes.load();
        PathCatalogue catalogue;
        benchmark::DoNotOptimize(ReadCatalogueFile(dir / "Corvane2.net", catalogue));
        held = HeapBytes.load() - before;
    }
    // What the loaded catalogue holds, in bytes and as a share of its file's.
    state.counters["heap"] = static_cast<double>(held);
    state.counters["heap/file"] = static_cast<double>(held) / static_cast<double>(file.size());
    state.SetComplexityN(state.range(0));
}

void SortCatalogueBench(benchmark::State& state)
{
    const PathCatalogue unsorted(RandomCatalogue(state.range(0)));
    // A fresh copy each round, laid out as reading the file lays it out, made
    // and the last one freed outside the timing.
    PathCatalogue list;
    for (auto _ : state) {
        state.PauseTiming();
        list = PathCatalogue(unsorted);
        state.ResumeTiming();
        list.Sort();
    }
    state.SetComplexityN(state.range(0));
}

void ShowCatalogue(benchmark::State& state)
{
    TempDir dir;
    WriteBytes(dir / "Corvane2.net", "0 2.0");
    FakeUi ui;
    const auto drives = std::make_shared<FakeDrives>();
    FakeRunner runner;
    FakeBrowser browser;
    FakeShell shell;
    FakeHelp help;
    const auto shares = std::make_shared<FakeShares>();
    TMainPRGForm form(dir.Path(), {drives, runner, browser, shell, help, shares}, ui);
    form.show();
    const PathCatalogue unsorted(RandomCatalogue(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        form.Panel2->AvailablePathList = PathCatalogue(unsorted);
        state.ResumeTiming();
        form.Panel2->RefreshCatalogueView(true);
        QApplication::processEvents();
    }
    state.SetComplexityN(state.range(0));
}

} // namespace

BENCHMARK(ReadCatalogue)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->Complexity();
BENCHMARK(SortCatalogueBench)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->Complexity();
BENCHMARK(ShowCatalogue)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->Complexity();
