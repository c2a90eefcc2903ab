// Reference counting for the layer's COM objects: one reference at creation, destroyed by the last
// Release.
#pragma once

#include <atomic>

#include "unknwn.h"

namespace dsound {

template <class Interface>
class ComObject : public Interface {
public:
    ULONG AddRef() override { return ++references_; }
    ULONG Release() override {
        const ULONG left = --references_;
        if (left == 0) delete this;
        return left;
    }

private:
    std::atomic<ULONG> references_{1};
};

}  // namespace dsound
