// CGrowArray: one contiguous block, entries in the order they were added.
#include "grow_array.h"

#include <cstdint>
#include <cstring>
#include <new>

namespace {

void* HeapAllocate(size_t bytes) { return ::operator new(bytes, std::nothrow); }
void HeapRelease(void* block) { ::operator delete(block); }

constexpr GrowArrayAllocator kHeapAllocator = {HeapAllocate, HeapRelease};
const GrowArrayAllocator* g_pAllocator = &kHeapAllocator;

constexpr UINT kFirstCapacity = 16;

}  // namespace

void SetGrowArrayAllocator(const GrowArrayAllocator* allocator) {
    g_pAllocator = allocator != nullptr ? allocator : &kHeapAllocator;
}

CGrowArray::CGrowArray(GrowArrayKind kind, UINT entrySize)
    : m_kind(kind),
      m_entrySize(kind == GrowArrayKind::ByPointer ? static_cast<UINT>(sizeof(void*)) : entrySize) {}

CGrowArray::~CGrowArray() {
    if (m_pData != nullptr) m_pfnRelease(m_pData);
}

HRESULT CGrowArray::Grow() {
    // The doubled capacity must still fit in 32 bits, and so must its byte count.
    uint64_t newCapacity = m_capacity == 0 ? kFirstCapacity : uint64_t{m_capacity} * 2;
    uint64_t bytes = newCapacity * m_entrySize;
    if (newCapacity > UINT32_MAX || bytes > UINT32_MAX) return E_OUTOFMEMORY;

    BYTE* pNew = static_cast<BYTE*>(g_pAllocator->allocate(static_cast<size_t>(bytes)));
    if (pNew == nullptr) return E_OUTOFMEMORY;
    if (m_pData != nullptr) {
        std::memcpy(pNew, m_pData, size_t{m_count} * m_entrySize);
        m_pfnRelease(m_pData);
    }
    m_pData = pNew;
    m_pfnRelease = g_pAllocator->release;
    m_capacity = static_cast<UINT>(newCapacity);
    return S_OK;
}

HRESULT CGrowArray::Add(const void* pEntry) {
    if (m_entrySize == 0) return E_FAIL;
    if (m_kind == GrowArrayKind::ByValue && pEntry == nullptr) return E_INVALIDARG;
    if (m_pData == nullptr || m_count + 1 > m_capacity) {
        HRESULT hr = Grow();
        if (FAILED(hr)) return hr;
    }
    BYTE* pSlot = m_pData + size_t{m_count} * m_entrySize;
    if (m_kind == GrowArrayKind::ByValue)
        std::memcpy(pSlot, pEntry, m_entrySize);
    else
        std::memcpy(pSlot, &pEntry, sizeof(pEntry));
    ++m_count;
    return S_OK;
}

void* CGrowArray::EntryAt(UINT index) const {
    if (index >= m_count) return nullptr;
    BYTE* pSlot = m_pData + size_t{index} * m_entrySize;
    if (m_kind == GrowArrayKind::ByValue) return pSlot;
    void* pStored;
    std::memcpy(&pStored, pSlot, sizeof(pStored));
    return pStored;
}

void CGrowArray::RemoveAt(UINT index) {
    if (index >= m_count) return;
    --m_count;
    BYTE* pSlot = m_pData + size_t{index} * m_entrySize;
    std::memmove(pSlot, pSlot + m_entrySize, size_t{m_count - index} * m_entrySize);
}

bool CGrowArray::Contains(const void* pEntry) const {
    if (m_kind == GrowArrayKind::ByValue && pEntry == nullptr) return false;
    for (UINT i = 0; i < m_count; ++i) {
        const BYTE* pSlot = m_pData + size_t{i} * m_entrySize;
        if (m_kind == GrowArrayKind::ByValue) {
            if (std::memcmp(pSlot, pEntry, m_entrySize) == 0) return true;
        } else if (std::memcmp(pSlot, &pEntry, sizeof(pEntry)) == 0) {
            return true;
        }
    }
    return false;
}
