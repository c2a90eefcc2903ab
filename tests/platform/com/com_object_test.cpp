// The COM base: QueryInterface over the listed ids, the reference count from one to the last Release,
// and an object that answers some ids itself before the list.
#include <gtest/gtest.h>

#include <vector>

#include "com/com_object.h"

namespace {

DEFINE_GUID(IID_IBase, 0x6c1e0a01, 0x2b44, 0x4d3f, 0x9a, 0x10, 0x01, 0x02, 0x03, 0x04, 0x05, 0x06);
DEFINE_GUID(IID_ISample, 0x6c1e0a02, 0x2b44, 0x4d3f, 0x9a, 0x10, 0x01, 0x02, 0x03, 0x04, 0x05, 0x06);
DEFINE_GUID(IID_IOther, 0x6c1e0a03, 0x2b44, 0x4d3f, 0x9a, 0x10, 0x01, 0x02, 0x03, 0x04, 0x05, 0x06);

struct IBase : IUnknown {
    virtual int Value() = 0;
};
struct ISample : IBase {};

// Records what its Release calls see and when it is destroyed.
struct Log {
    std::vector<ULONG> released;
    bool destroyed = false;
};

class Sample final : public com::ComObject<ISample, IID_IBase, IID_ISample> {
public:
    explicit Sample(Log& log) : log_(log) {}
    int Value() override { return 7; }

private:
    ~Sample() override { log_.destroyed = true; }
    void Released(ULONG left) override { log_.released.push_back(left); }
    Log& log_;
};

// Refuses IOther with a code of its own; the rest is the list's.
class Picky final : public com::ComObject<ISample, IID_ISample> {
public:
    int Value() override { return 1; }

private:
    HRESULT Query(REFIID riid, void** ppvObject) override {
        if (riid == IID_IOther) return E_ACCESSDENIED;
        return ComObject::Query(riid, ppvObject);
    }
};

TEST(ComObject, AnswersIUnknownAndTheListedIdsWithAReference) {
    Log log;
    auto* object = new Sample(log);
    for (const IID* id : {&IID_IUnknown, &IID_IBase, &IID_ISample}) {
        void* out = nullptr;
        ASSERT_EQ(object->QueryInterface(*id, &out), S_OK);
        EXPECT_EQ(out, static_cast<ISample*>(object));
        EXPECT_EQ(static_cast<ISample*>(out)->Release(), 1u);
    }
    void* out = &log;
    EXPECT_EQ(object->QueryInterface(IID_IOther, &out), E_NOINTERFACE);
    EXPECT_EQ(out, nullptr) << "a refused id clears the out pointer";
    EXPECT_EQ(object->QueryInterface(IID_ISample, nullptr), E_POINTER);
    EXPECT_EQ(object->Release(), 0u);
    EXPECT_TRUE(log.destroyed);
}

TEST(ComObject, StartsWithOneReferenceAndTheLastReleaseDestroys) {
    Log log;
    ISample* object = new Sample(log);
    EXPECT_EQ(object->AddRef(), 2u);
    EXPECT_EQ(object->Release(), 1u);
    EXPECT_FALSE(log.destroyed);
    EXPECT_EQ(object->Release(), 0u);
    EXPECT_TRUE(log.destroyed);
    EXPECT_EQ(log.released, (std::vector<ULONG>{1, 0})) << "every Release is seen, the last before destruction";
}

TEST(ComObject, AnOverriddenQueryAnswersFirstAndTheListStillHolds) {
    ISample* object = new Picky();
    void* out = &object;
    EXPECT_EQ(object->QueryInterface(IID_IOther, &out), E_ACCESSDENIED);
    EXPECT_EQ(out, nullptr);
    ASSERT_EQ(object->QueryInterface(IID_ISample, &out), S_OK);
    EXPECT_EQ(static_cast<ISample*>(out)->Value(), 1);
    EXPECT_EQ(object->Release(), 1u);
    EXPECT_EQ(object->QueryInterface(IID_IBase, &out), E_NOINTERFACE) << "an id not listed is refused";
    EXPECT_EQ(object->Release(), 0u);
}

}  // namespace
