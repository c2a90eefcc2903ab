// ID3DXMatrixStack: a stack of matrices that never runs empty. It holds no device.
#include <deque>
#include <new>

#include "com/com_object.h"
#include "d3d9.h"
#include "d3dx9math.h"
#include "d3dx9/control.h"

namespace {

class MatrixStack final : public com::ComObject<ID3DXMatrixStack, IID_ID3DXMatrixStack> {
public:
    // The first entry, the identity; false when out of memory.
    bool Init() {
        try {
            entries_.emplace_back();
        } catch (const std::bad_alloc&) {
            return false;
        }
        D3DXMatrixIdentity(&entries_.back());
        return true;
    }

    UINT Depth() const { return static_cast<UINT>(entries_.size()); }

    HRESULT Pop() override {
        if (entries_.size() <= 1) return D3DERR_INVALIDCALL;
        entries_.pop_back();
        return S_OK;
    }

    HRESULT Push() override {
        try {
            const D3DXMATRIX top = entries_.back();
            entries_.push_back(top);
        } catch (const std::bad_alloc&) {
            return E_OUTOFMEMORY;
        }
        return S_OK;
    }

    HRESULT LoadIdentity() override {
        D3DXMatrixIdentity(&Top());
        return S_OK;
    }

    HRESULT LoadMatrix(const D3DXMATRIX* pM) override {
        if (!pM) return D3DERR_INVALIDCALL;
        Top() = *pM;
        return S_OK;
    }

    HRESULT MultMatrix(const D3DXMATRIX* pM) override {
        if (!pM) return D3DERR_INVALIDCALL;
        return Right(*pM);
    }

    HRESULT MultMatrixLocal(const D3DXMATRIX* pM) override {
        if (!pM) return D3DERR_INVALIDCALL;
        return Left(*pM);
    }

    HRESULT RotateAxis(const D3DXVECTOR3* pV, FLOAT Angle) override {
        if (!pV) return D3DERR_INVALIDCALL;
        D3DXMATRIX r;
        D3DXMatrixRotationAxis(&r, pV, Angle);
        return Right(r);
    }

    HRESULT RotateAxisLocal(const D3DXVECTOR3* pV, FLOAT Angle) override {
        if (!pV) return D3DERR_INVALIDCALL;
        D3DXMATRIX r;
        D3DXMatrixRotationAxis(&r, pV, Angle);
        return Left(r);
    }

    HRESULT RotateYawPitchRoll(FLOAT Yaw, FLOAT Pitch, FLOAT Roll) override {
        D3DXMATRIX r;
        D3DXMatrixRotationYawPitchRoll(&r, Yaw, Pitch, Roll);
        return Right(r);
    }

    HRESULT RotateYawPitchRollLocal(FLOAT Yaw, FLOAT Pitch, FLOAT Roll) override {
        D3DXMATRIX r;
        D3DXMatrixRotationYawPitchRoll(&r, Yaw, Pitch, Roll);
        return Left(r);
    }

    HRESULT Scale(FLOAT x, FLOAT y, FLOAT z) override {
        D3DXMATRIX s;
        D3DXMatrixScaling(&s, x, y, z);
        return Right(s);
    }

    HRESULT ScaleLocal(FLOAT x, FLOAT y, FLOAT z) override {
        D3DXMATRIX s;
        D3DXMatrixScaling(&s, x, y, z);
        return Left(s);
    }

    HRESULT Translate(FLOAT x, FLOAT y, FLOAT z) override {
        D3DXMATRIX t;
        D3DXMatrixTranslation(&t, x, y, z);
        return Right(t);
    }

    HRESULT TranslateLocal(FLOAT x, FLOAT y, FLOAT z) override {
        D3DXMATRIX t;
        D3DXMatrixTranslation(&t, x, y, z);
        return Left(t);
    }

    D3DXMATRIX* GetTop() override { return &Top(); }

private:
    ~MatrixStack() override = default;

    D3DXMATRIX& Top() { return entries_.back(); }

    // top = top * m
    HRESULT Right(const D3DXMATRIX& m) {
        D3DXMatrixMultiply(&Top(), &Top(), &m);
        return S_OK;
    }

    // top = m * top
    HRESULT Left(const D3DXMATRIX& m) {
        D3DXMatrixMultiply(&Top(), &m, &Top());
        return S_OK;
    }

    // A deque keeps the entries in place as the stack grows, so a pointer from GetTop stays valid
    // across Push.
    std::deque<D3DXMATRIX> entries_;
};

}  // namespace

HRESULT WINAPI D3DXCreateMatrixStack(DWORD Flags, LPD3DXMATRIXSTACK* ppStack) {
    if (!ppStack) return D3DERR_INVALIDCALL;
    MatrixStack* stack = new (std::nothrow) MatrixStack();
    if (!stack) return E_OUTOFMEMORY;
    if (!stack->Init()) {
        stack->Release();
        return E_OUTOFMEMORY;
    }
    *ppStack = stack;
    return S_OK;
}

namespace d3dx9::control {

UINT MatrixStackDepth(ID3DXMatrixStack* stack) {
    auto* ours = dynamic_cast<MatrixStack*>(stack);
    return ours ? ours->Depth() : 0;
}

}  // namespace d3dx9::control
