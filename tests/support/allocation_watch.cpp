#include "allocation_watch.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

std::atomic<bool> Watching = false;
std::atomic<std::size_t> LargestAllocation = 0;
std::atomic<std::size_t> Refused = ~std::size_t{0};

void Note(std::size_t size)
{
    if (!Watching.load(std::memory_order_relaxed))
        return;
    auto largest = LargestAllocation.load(std::memory_order_relaxed);
    while (size > largest && !LargestAllocation.compare_exchange_weak(largest, size)) {
    }
}

} // namespace

AllocationWatch::AllocationWatch()
{
    LargestAllocation = 0;
    Refused = ~std::size_t{0};
    Watching = true;
}

AllocationWatch::~AllocationWatch()
{
    Stop();
}

std::size_t AllocationWatch::Largest() const
{
    return LargestAllocation.load();
}

void AllocationWatch::Stop()
{
    Watching = false;
}

void AllocationWatch::RefuseAbove(std::size_t bytes)
{
    Refused = bytes;
}

// Every plain form of new and delete, so that each pair meets its own kind.
void* operator new(std::size_t size)
{
    Note(size);
    if (Watching.load(std::memory_order_relaxed) && size > Refused.load(std::memory_order_relaxed))
        throw std::bad_alloc();
    if (void* memory = std::malloc(size ? size : 1))
        return memory;
    throw std::bad_alloc();
}

void* operator new[](std::size_t size)
{
    return operator new(size);
}

void* operator new(std::size_t size, const std::nothrow_t&) noexcept
{
    Note(size);
    if (Watching.load(std::memory_order_relaxed) && size > Refused.load(std::memory_order_relaxed))
        return nullptr;
    return std::malloc(size ? size : 1);
}

void* operator new[](std::size_t size, const std::nothrow_t& tag) noexcept
{
    return operator new(size, tag);
}

void operator delete(void* memory) noexcept
{
    std::free(memory);
}

void operator delete[](void* memory) noexcept
{
    std::free(memory);
}

void operator delete(void* memory, std::size_t) noexcept
{
    std::free(memory);
}

void operator delete[](void* memory, std::size_t) noexcept
{
    std::free(memory);
}

void operator delete(void* memory, const std::nothrow_t&) noexcept
{
    std::free(memory);
}

void operator delete[](void* memory, const std::nothrow_t&) noexcept
{
    std::free(memory);
}
