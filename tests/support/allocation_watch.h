#pragma once

#include <cstddef>

// The largest single allocation made while watching. A program that links
// this replaces every plain form of new and delete with ones that note it.
class AllocationWatch {
public:
    AllocationWatch();
    ~AllocationWatch();
    AllocationWatch(const AllocationWatch&) = delete;
    AllocationWatch& operator=(const AllocationWatch&) = delete;

    // The largest until now, or until the watch ended.
    std::size_t Largest() const;
    void Stop();
    // While watching, an allocation of more than bytes fails as one the system cannot give.
    void RefuseAbove(std::size_t bytes);
};
