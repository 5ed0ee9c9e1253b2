#include "dynaarray.h"

#include <cstdlib>
#include <cstring>
#include <iostream>
#include <memory>
#include <utility>

namespace {

AllocationFailureHook &failureHook() {
    static AllocationFailureHook hook;
    return hook;
}

void *zeroFilled(std::size_t bytes) {
    return std::calloc(1, bytes);
}

BlockAllocator blockAllocator = &zeroFilled;

void reportAllocationFailure(int code, std::uint64_t bytes) {
    const std::string message = "Error " + std::to_string(code) + " while trying to allocate " +
                                std::to_string(bytes) + " bytes of RAM. Not enough memory.";
    if (failureHook())
        failureHook()(message);
    else
        std::cerr << message << '\n';
}

} // namespace

void setAllocationFailureHook(AllocationFailureHook hook) {
    failureHook() = std::move(hook);
}

void setBlockAllocator(BlockAllocator allocator) {
    blockAllocator = allocator ? allocator : &zeroFilled;
}

TDynaArray::~TDynaArray() {
    std::free(poi);
    poi = nullptr;
    aobj = nullptr;
    aobjnr = -1;
}

std::uint8_t *TDynaArray::recordAt(std::uint32_t index) const {
    return static_cast<std::uint8_t *>(poi) + static_cast<std::size_t>(index) * size;
}

void TDynaArray::setOuter(void *record) {
    if (mirror)
        mirror(outeraobj, record);
}

void TDynaArray::makeCurrent(std::uint32_t index) {
    aobjnr = static_cast<std::int32_t>(index);
    aobj = recordAt(index);
    setOuter(aobj);
}

// Block size for a number of records, in unsigned 32-bit arithmetic as the block sizes are kept.
// False when the size does not fit in 32 bits: such a block can never be had.
bool TDynaArray::capacityBytes(std::uint32_t records, std::uint32_t &bytes) const {
    if (records == 0) {
        bytes = 0;
        return true;
    }
    const std::uint64_t wanted =
        (static_cast<std::uint64_t>((records - 1) / buffersize) + 1) * size * buffersize;
    bytes = static_cast<std::uint32_t>(wanted);
    return wanted <= UINT32_MAX;
}

void *TDynaArray::GetObject(std::uint32_t Index) {
    makeCurrent(Index);
    return aobj;
}

bool TDynaArray::AllocMoreMem() {
    allocationFailed = false;
    std::uint32_t bytes = 0;
    const bool representable = capacityBytes(count_, bytes);
    if (representable && bytes == amemsize)
        return false;
    const int code = poi ? 2 : 1;
    void *fresh = representable ? blockAllocator(bytes) : nullptr;
    if (!fresh) {
        const std::uint64_t wanted =
            (static_cast<std::uint64_t>((count_ - 1) / buffersize) + 1) * size * buffersize;
        reportAllocationFailure(code, wanted);
        allocationFailed = true;
        return false;
    }
    if (poi) {
        std::memcpy(fresh, poi, amemsize);
        std::free(poi);
    }
    poi = fresh;
    amemsize = bytes;
    return true;
}

void TDynaArray::AllocLessMem() {
    if (count_ == 0) {
        std::free(poi);
        poi = nullptr;
        amemsize = 0;
        return;
    }
    std::uint32_t bytes = 0;
    capacityBytes(count_, bytes);
    if (bytes == amemsize)
        return;
    void *fresh = blockAllocator(bytes);
    if (!fresh) {
        // The larger block still holds every record, so the list carries on with it.
        reportAllocationFailure(3, bytes);
        return;
    }
    std::memcpy(fresh, poi, bytes);
    std::free(poi);
    poi = fresh;
    amemsize = bytes;
}

void *TDynaArray::Add() {
    if (count_ == UINT32_MAX)
        return nullptr;
    count_ += 1;
    const bool replaced = AllocMoreMem();
    if (allocationFailed) {
        count_ -= 1;
        return nullptr;
    }
    if (!replaced)
        std::memset(recordAt(count_ - 1), 0, size);
    makeCurrent(count_ - 1);
    return aobj;
}

void *TDynaArray::Insert(std::int32_t nr) {
    if (nr < 0 || static_cast<std::uint32_t>(nr) > count_ || count_ == UINT32_MAX)
        return nullptr;
    count_ += 1;
    AllocMoreMem();
    if (allocationFailed) {
        count_ -= 1;
        return nullptr;
    }
    const std::uint32_t at = static_cast<std::uint32_t>(nr);
    std::memmove(recordAt(at + 1), recordAt(at), static_cast<std::size_t>(count_ - 1 - at) * size);
    std::memset(recordAt(at), 0, size);
    makeCurrent(at);
    return aobj;
}

void TDynaArray::Delete(std::int32_t nr) {
    if (nr < 0 || static_cast<std::uint32_t>(nr) >= count_)
        return;
    for (std::uint32_t i = static_cast<std::uint32_t>(nr) + 1; i < count_; ++i)
        std::memcpy(recordAt(i - 1), recordAt(i), size);
    count_ -= 1;
    AllocLessMem();
    aobjnr = -1;
    aobj = nullptr;
    setOuter(nullptr);
}

void TDynaArray::Change(std::int32_t nr1, std::int32_t nr2) {
    if (nr1 < 0 || nr2 < 0 || static_cast<std::uint32_t>(nr1) >= count_ ||
        static_cast<std::uint32_t>(nr2) >= count_)
        return;
    const auto buffer = std::make_unique<std::uint8_t[]>(size);
    std::memcpy(buffer.get(), recordAt(nr1), size);
    std::memmove(recordAt(nr1), recordAt(nr2), size);
    std::memcpy(recordAt(nr2), buffer.get(), size);
    makeCurrent(static_cast<std::uint32_t>(nr2));
}

void TDynaArray::Clear() {
    count_ = 0;
    std::free(poi);
    poi = nullptr;
    aobjnr = -1;
    aobj = nullptr;
    amemsize = 0;
    setOuter(nullptr);
}

void TDynaArray::First() {
    if (count_ > 0)
        makeCurrent(0);
}

bool TDynaArray::Next() {
    if (count_ == 0 || aobjnr < -1 || aobjnr >= static_cast<std::int64_t>(count_) - 1)
        return false;
    makeCurrent(static_cast<std::uint32_t>(aobjnr + 1));
    return true;
}

bool TDynaArray::WhileNext() {
    if (count_ == 0 || aobjnr < 0 || static_cast<std::uint32_t>(aobjnr) >= count_)
        return false;
    makeCurrent(static_cast<std::uint32_t>(aobjnr));
    aobjnr += 1;
    return true;
}
