// CGrowArray: growth policy, both kinds of entries, removal, and growth that fails.
#include "grow_array.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "support/grow_array_allocator.h"

namespace {

struct Record16 {
    uint32_t a, b, c, d;
};
static_assert(sizeof(Record16) == 16);

Record16 RecordFor(uint32_t i) { return {i, i * 3, i * 7, 0xA5A50000u | i}; }

}  // namespace

TEST(GrowArray, NewArrayIsEmptyAndOwnsNoBlock) {
    ScopedGrowArrayAllocator allocator;
    {
        CGrowArray array(GrowArrayKind::ByValue, 4);
        EXPECT_EQ(array.Count(), 0u);
        EXPECT_EQ(array.Capacity(), 0u);
        EXPECT_EQ(array.EntryAt(0), nullptr);
    }
    EXPECT_EQ(allocator.Allocations(), 0);
}

TEST(GrowArray, CapacityStartsAt16AndDoublesKeepingEntries) {
    ScopedGrowArrayAllocator allocator;
    {
        CGrowArray array(GrowArrayKind::ByValue, sizeof(Record16));
        const struct {
            uint32_t adds;
            UINT capacity;
        } steps[] = {{1, 16}, {16, 16}, {17, 32}, {32, 32}, {33, 64}, {65, 128}};
        uint32_t added = 0;
        for (const auto& step : steps) {
            for (; added < step.adds; ++added) {
                Record16 r = RecordFor(added);
                ASSERT_EQ(array.Add(&r), S_OK);
            }
            EXPECT_EQ(array.Count(), step.adds);
            EXPECT_EQ(array.Capacity(), step.capacity) << "after " << step.adds << " adds";
            for (uint32_t i = 0; i < added; ++i) {
                Record16 expected = RecordFor(i);
                ASSERT_EQ(std::memcmp(array.EntryAt(i), &expected, sizeof(expected)), 0) << "entry " << i;
            }
        }
        EXPECT_EQ(allocator.LiveBlocks(), 1);  // each growth freed the block it replaced
    }
    EXPECT_EQ(allocator.LiveBlocks(), 0);
}

TEST(GrowArray, ByValueWithEntrySizeZeroRefusesEveryAdd) {
    CGrowArray array(GrowArrayKind::ByValue, 0);
    int value = 1;
    EXPECT_EQ(array.Add(&value), E_FAIL);
    EXPECT_EQ(array.Add(&value), E_FAIL);
    EXPECT_EQ(array.Count(), 0u);
    EXPECT_EQ(array.Capacity(), 0u);
}

TEST(GrowArray, ByValueRefusesANullEntry) {
    CGrowArray array(GrowArrayKind::ByValue, 4);
    EXPECT_EQ(array.Add(nullptr), E_INVALIDARG);
    EXPECT_EQ(array.Count(), 0u);
    EXPECT_FALSE(array.Contains(nullptr));
}

TEST(GrowArray, ByPointerStoresThePointersThemselves) {
    for (UINT givenSize : {0u, 4u, 16u}) {
        CGrowArray array(GrowArrayKind::ByPointer, givenSize);
        EXPECT_EQ(array.EntrySize(), sizeof(void*));
        Record16 first = RecordFor(1), second = RecordFor(2), twinOfFirst = RecordFor(1);
        ASSERT_EQ(array.Add(&first), S_OK);
        ASSERT_EQ(array.Add(&second), S_OK);
        ASSERT_EQ(array.Add(nullptr), S_OK);  // a null pointer is an entry like any other
        EXPECT_EQ(array.Count(), 3u);
        EXPECT_EQ(array.EntryAt(0), &first);
        EXPECT_EQ(array.EntryAt(1), &second);
        EXPECT_EQ(array.EntryAt(2), nullptr);
        EXPECT_TRUE(array.Contains(&second));
        EXPECT_FALSE(array.Contains(&twinOfFirst)) << "equal contents are not the same entry";
    }
}

TEST(GrowArray, ByValueContainsComparesAllBytes) {
    CGrowArray array(GrowArrayKind::ByValue, sizeof(Record16));
    Record16 held = RecordFor(5);
    ASSERT_EQ(array.Add(&held), S_OK);

    Record16 same = RecordFor(5);
    EXPECT_TRUE(array.Contains(&same));
    Record16 lastFieldDiffers = held;
    lastFieldDiffers.d ^= 0x01000000;  // only the entry's final byte differs
    EXPECT_FALSE(array.Contains(&lastFieldDiffers));
    Record16 firstFieldDiffers = held;
    firstFieldDiffers.a ^= 1;
    EXPECT_FALSE(array.Contains(&firstFieldDiffers));
}

TEST(GrowArray, ClearKeepsTheBlockForTheNextAdd) {
    CGrowArray array(GrowArrayKind::ByValue, 4);
    for (int i = 0; i < 20; ++i) ASSERT_EQ(array.Add(&i), S_OK);
    array.Clear();
    EXPECT_EQ(array.Count(), 0u);
    EXPECT_EQ(array.Capacity(), 32u);
    EXPECT_EQ(array.EntryAt(0), nullptr);
    int value = 77;
    ASSERT_EQ(array.Add(&value), S_OK);
    EXPECT_EQ(array.Capacity(), 32u);
    EXPECT_EQ(*static_cast<int*>(array.EntryAt(0)), 77);
}

TEST(GrowArray, RemoveAtKeepsTheOrderAndIgnoresIndexesOutOfRange) {
    CGrowArray array(GrowArrayKind::ByValue, 4);
    auto contents = [&array] {
        std::string text;
        for (UINT i = 0; i < array.Count(); ++i) text += static_cast<char>(*static_cast<int*>(array.EntryAt(i)));
        return text;
    };

    array.RemoveAt(0);  // empty array: nothing happens, the count does not wrap
    EXPECT_EQ(array.Count(), 0u);

    for (int c : {'A', 'B', 'C', 'D'}) ASSERT_EQ(array.Add(&c), S_OK);
    array.RemoveAt(3);
    EXPECT_EQ(contents(), "ABC");
    array.RemoveAt(0);
    EXPECT_EQ(contents(), "BC");
    array.RemoveAt(2);
    array.RemoveAt(0xFFFFFFFFu);
    EXPECT_EQ(contents(), "BC");
    EXPECT_EQ(array.EntryAt(2), nullptr);
    EXPECT_EQ(array.Capacity(), 16u);
}

TEST(GrowArray, FailedGrowthLeavesTheArrayAsItWas) {
    ScopedGrowArrayAllocator allocator;
    CGrowArray array(GrowArrayKind::ByValue, sizeof(Record16));

    allocator.FailAllocation(1);  // the very first block
    Record16 r = RecordFor(0);
    EXPECT_EQ(array.Add(&r), E_OUTOFMEMORY);
    EXPECT_EQ(array.Count(), 0u);
    EXPECT_EQ(array.Capacity(), 0u);

    for (uint32_t i = 0; i < 16; ++i) {
        r = RecordFor(i);
        ASSERT_EQ(array.Add(&r), S_OK);
    }
    allocator.FailAllocation(1);  // the growth to 32
    r = RecordFor(16);
    EXPECT_EQ(array.Add(&r), E_OUTOFMEMORY);
    EXPECT_EQ(array.Count(), 16u);
    EXPECT_EQ(array.Capacity(), 16u);
    EXPECT_FALSE(array.Contains(&r));
    for (uint32_t i = 0; i < 16; ++i) {
        Record16 expected = RecordFor(i);
        ASSERT_EQ(std::memcmp(array.EntryAt(i), &expected, sizeof(expected)), 0);
    }

    EXPECT_EQ(array.Add(&r), S_OK);  // memory is back
    EXPECT_EQ(array.Capacity(), 32u);
    EXPECT_EQ(array.Count(), 17u);
}

TEST(GrowArray, ABlockIsFreedByTheAllocatorThatGaveIt) {
    CGrowArray* pArray = nullptr;
    {
        ScopedGrowArrayAllocator allocator;
        pArray = new CGrowArray(GrowArrayKind::ByValue, 4);
        int value = 1;
        ASSERT_EQ(pArray->Add(&value), S_OK);
        EXPECT_EQ(allocator.LiveBlocks(), 1);
        delete pArray;
        EXPECT_EQ(allocator.LiveBlocks(), 0);

        pArray = new CGrowArray(GrowArrayKind::ByValue, 4);
        ASSERT_EQ(pArray->Add(&value), S_OK);
    }
    // The test allocator is gone; growing and destroying must still pair each block with its allocator.
    for (int i = 0; i < 40; ++i) ASSERT_EQ(pArray->Add(&i), S_OK);
    delete pArray;
}
