#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

// Receives the message of a failed block allocation ("Error 2 while trying to allocate ... bytes of RAM.
// Not enough memory."). The window shows it in a modal message box, the command line on standard error.
using AllocationFailureHook = std::function<void(const std::string &message)>;

// Replaces the hook for all record lists; an empty hook writes the message to standard error.
void setAllocationFailureHook(AllocationFailureHook hook);

// A zero-filled allocation of a record list's block; replaceable so that tests can make it fail.
using BlockAllocator = void *(*)(std::size_t bytes);
void setBlockAllocator(BlockAllocator allocator);

// Growable array of fixed-size records in one zero-filled block, with a cursor that it mirrors into
// a pointer variable of its owner. Records are plain bytes: the list never constructs or destroys them.
// The block holds ceil(count / 100) * 100 records and is replaced only when count crosses a multiple
// of 100. A failed allocation is reported through the hook; the operation then stops there and leaves
// the list as it was, still usable.
class TDynaArray {
public:
    // The list mirrors its current record into *cursor; cursor may be null.
    template <typename T>
    TDynaArray(std::uint32_t thesize, T **cursor)
        : outeraobj(cursor), mirror(cursor ? &mirrorInto<T> : nullptr), size(thesize) {}
    TDynaArray(std::uint32_t thesize, std::nullptr_t) : size(thesize) {}
    ~TDynaArray();

    TDynaArray(const TDynaArray &) = delete;
    TDynaArray &operator=(const TDynaArray &) = delete;

    // Address of record Index, made current. No range check: 0 <= Index < count().
    void *GetObject(std::uint32_t Index);
    // Address of record Index; the cursor stays where it is. No range check: 0 <= Index < count().
    const void *record(std::uint32_t Index) const { return recordAt(Index); }
    // A new all-zero last record, made current; null when its block could not be allocated.
    void *Add();
    // A new all-zero record at nr (nr == count() appends), made current; null when nr is out of range
    // or the block could not be allocated.
    void *Insert(std::int32_t nr);
    // Removes record nr and clears the cursor; out-of-range indices are ignored.
    void Delete(std::int32_t nr);
    // Swaps two records; record nr2 is current afterwards. Out-of-range indices are ignored.
    void Change(std::int32_t nr1, std::int32_t nr2);
    // Removes every record and frees the block.
    void Clear();
    // Makes record 0 current, if there is one.
    void First();
    // Moves the cursor one record on; false at the last record or with no records.
    bool Next();
    // Iteration step after First(): makes record aobjnr current and moves aobjnr one ahead.
    bool WhileNext();

    std::uint32_t count() const { return count_; }
    std::int32_t cursorIndex() const { return aobjnr; }
    void *current() const { return aobj; }
    void *block() const { return poi; }
    std::uint32_t allocatedBytes() const { return amemsize; }
    std::uint32_t recordSize() const { return size; }

private:
    template <typename T> static void mirrorInto(void *variable, void *record) {
        *static_cast<T **>(variable) = static_cast<T *>(record);
    }

    bool AllocMoreMem();
    void AllocLessMem();
    bool capacityBytes(std::uint32_t records, std::uint32_t &bytes) const;
    void makeCurrent(std::uint32_t index);
    void setOuter(void *record);
    std::uint8_t *recordAt(std::uint32_t index) const;

    void *outeraobj = nullptr;
    void (*mirror)(void *, void *) = nullptr;
    void *aobj = nullptr;
    void *poi = nullptr;
    std::uint32_t count_ = 0;
    std::int32_t aobjnr = -1;
    std::uint32_t amemsize = 0;
    std::uint32_t buffersize = 100;
    std::uint32_t size;
    bool allocationFailed = false;
};
