// CGrowArray: the framework's dynamic array of fixed-size entries, copied in by value or held as
// pointers. Capacity 16 at first use, doubled on each growth; the block never shrinks.
#pragma once

#include <cstddef>

#include "windef.h"
#include "winerror.h"

enum class GrowArrayKind : int32_t {
    ByValue = 0,    // each entry is a copy of entry-size bytes
    ByPointer = 1,  // each entry is the pointer handed in; entry size is sizeof(void*)
};

// Where every array's storage blocks come from. The default uses the heap without throwing;
// tests install their own to make a chosen growth fail.
struct GrowArrayAllocator {
    void* (*allocate)(size_t bytes);  // null on failure
    void (*release)(void* block);
};
// Installs an allocator for the blocks allocated from now on; null restores the default.
// A block is always released by the allocator that allocated it.
void SetGrowArrayAllocator(const GrowArrayAllocator* allocator);

class CGrowArray {
public:
    CGrowArray(GrowArrayKind kind, UINT entrySize);
    ~CGrowArray();
    CGrowArray(const CGrowArray&) = delete;
    CGrowArray& operator=(const CGrowArray&) = delete;

    // ByValue: copies entry-size bytes from pEntry; ByPointer: stores pEntry itself.
    // E_FAIL for an entry size of 0, E_INVALIDARG for a null ByValue entry, E_OUTOFMEMORY when
    // the block cannot grow; the array is then unchanged.
    HRESULT Add(const void* pEntry);
    UINT Count() const { return m_count; }
    UINT Capacity() const { return m_capacity; }
    UINT EntrySize() const { return m_entrySize; }
    // Keeps the block and the capacity.
    void Clear() { m_count = 0; }
    // ByValue: the entry's address inside the block; ByPointer: the stored pointer. Null out of range.
    void* EntryAt(UINT index) const;
    // Moves the later entries down one place; an index out of range changes nothing.
    void RemoveAt(UINT index);
    // ByValue: an entry equal byte for byte; ByPointer: the very same pointer.
    bool Contains(const void* pEntry) const;

private:
    HRESULT Grow();

    GrowArrayKind m_kind;
    BYTE* m_pData = nullptr;
    UINT m_entrySize;
    UINT m_count = 0;
    UINT m_capacity = 0;
    void (*m_pfnRelease)(void* block) = nullptr;  // the allocator that gave m_pData
};
