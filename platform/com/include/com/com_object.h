// IUnknown for the layer's COM objects. InterfaceList answers QueryInterface over a list of interface
// ids; ComObject adds the reference count: one reference at creation, destroyed by the last Release.
// An object implements one interface (with the interfaces it derives from) and lists the ids it
// answers besides IUnknown. Objects counted elsewhere (the device's children) take InterfaceList only.
#pragma once

#include <atomic>

#include "unknwn.h"

namespace com {

template <class Interface, const IID&... Ids>
class InterfaceList : public Interface {
public:
    // E_POINTER without an out pointer; otherwise it is cleared before Query answers.
    HRESULT QueryInterface(REFIID riid, void** ppvObject) override {
        if (ppvObject == nullptr) return E_POINTER;
        *ppvObject = nullptr;
        return Query(riid, ppvObject);
    }

protected:
    // IUnknown or one of the listed ids.
    static bool Answers(REFIID riid) { return riid == IID_IUnknown || ((riid == Ids) || ...); }

    // This object, with a reference, for the ids it answers; E_NOINTERFACE for others. An object that
    // fails on purpose or hands out other objects for some ids overrides it and calls it for the rest.
    virtual HRESULT Query(REFIID riid, void** ppvObject) {
        if (!Answers(riid)) return E_NOINTERFACE;
        this->AddRef();
        *ppvObject = static_cast<Interface*>(this);
        return S_OK;
    }
};

template <class Interface, const IID&... Ids>
class ComObject : public InterfaceList<Interface, Ids...> {
public:
    ULONG AddRef() override { return ++references_; }
    ULONG Release() override {
        const ULONG left = --references_;
        Released(left);
        if (left == 0) delete this;
        return left;
    }

protected:
    // Called by every Release with the references left, before the last one destroys the object.
    virtual void Released(ULONG /*left*/) {}

private:
    std::atomic<ULONG> references_{1};
};

}  // namespace com
