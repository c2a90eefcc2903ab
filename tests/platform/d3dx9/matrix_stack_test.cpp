// ID3DXMatrixStack: depth, the plain (top * M) and Local (M * top) forms, and its object rules.
#include <functional>

#include <gtest/gtest.h>

#include "d3dx9.h"
#include "d3dx9/control.h"
#include "math_expect.h"

namespace {

using d3dx9::control::MatrixStackDepth;
using d3dx9_test::Apply;
using d3dx9_test::Near;

class MatrixStackTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(D3DXCreateMatrixStack(0, &stack_), S_OK); }
    void TearDown() override {
        if (stack_) {
            EXPECT_EQ(stack_->Release(), 0u);
        }
    }

    D3DXMATRIX Top() { return *stack_->GetTop(); }

    ID3DXMatrixStack* stack_ = nullptr;
};

TEST_F(MatrixStackTest, StartsWithOneIdentity) {
    EXPECT_EQ(MatrixStackDepth(stack_), 1u);
    EXPECT_TRUE(D3DXMatrixIsIdentity(stack_->GetTop()));
}

TEST_F(MatrixStackTest, PopOnTheLastEntryFailsAndKeepsIt) {
    ASSERT_EQ(stack_->Translate(1, 2, 3), S_OK);
    EXPECT_EQ(stack_->Pop(), D3DERR_INVALIDCALL);
    EXPECT_EQ(MatrixStackDepth(stack_), 1u);
    D3DXMATRIX expected;
    EXPECT_EQ(Top(), *D3DXMatrixTranslation(&expected, 1, 2, 3));

    EXPECT_EQ(stack_->Push(), S_OK);
    EXPECT_EQ(stack_->Pop(), S_OK);
    EXPECT_EQ(stack_->Pop(), D3DERR_INVALIDCALL);
    EXPECT_EQ(MatrixStackDepth(stack_), 1u);
}

TEST_F(MatrixStackTest, PushCopiesTheTopAndPopRestoresTheParent) {
    ASSERT_EQ(stack_->Scale(2, 2, 2), S_OK);
    const D3DXMATRIX parent = Top();
    D3DXMATRIX* parentPointer = stack_->GetTop();
    ASSERT_EQ(stack_->Push(), S_OK);
    EXPECT_EQ(MatrixStackDepth(stack_), 2u);
    EXPECT_EQ(Top(), parent);
    ASSERT_EQ(stack_->TranslateLocal(1, 0, 0), S_OK);
    for (int i = 0; i < 40; ++i) ASSERT_EQ(stack_->Push(), S_OK);
    EXPECT_EQ(MatrixStackDepth(stack_), 42u);
    EXPECT_EQ(*parentPointer, parent);  // entries stay in place as the stack grows
    for (int i = 0; i < 41; ++i) ASSERT_EQ(stack_->Pop(), S_OK);
    EXPECT_EQ(Top(), parent);
    EXPECT_EQ(stack_->LoadIdentity(), S_OK);
    EXPECT_TRUE(D3DXMatrixIsIdentity(stack_->GetTop()));
}

struct FormCase {
    const char* name;
    std::function<HRESULT(ID3DXMatrixStack*)> call;
    D3DXMATRIX m;  // the transform the call multiplies in
    bool local;    // M * top rather than top * M
};

D3DXMATRIX Translation(float x, float y, float z) {
    D3DXMATRIX m;
    return *D3DXMatrixTranslation(&m, x, y, z);
}

D3DXMATRIX Scaling(float x, float y, float z) {
    D3DXMATRIX m;
    return *D3DXMatrixScaling(&m, x, y, z);
}

D3DXMATRIX YawPitchRoll(float yaw, float pitch, float roll) {
    D3DXMATRIX m;
    return *D3DXMatrixRotationYawPitchRoll(&m, yaw, pitch, roll);
}

D3DXMATRIX AxisRotation(const D3DXVECTOR3& axis, float angle) {
    D3DXMATRIX m;
    return *D3DXMatrixRotationAxis(&m, &axis, angle);
}

TEST_F(MatrixStackTest, PlainFormsMultiplyOnTheRightLocalFormsOnTheLeft) {
    const D3DXVECTOR3 axis(1, 2, 0);
    const D3DXMATRIX other = YawPitchRoll(0.2f, 0.4f, 0.6f) * Translation(0, 0, 3);
    const FormCase cases[] = {
        {"MultMatrix", [&](ID3DXMatrixStack* s) { return s->MultMatrix(&other); }, other, false},
        {"MultMatrixLocal", [&](ID3DXMatrixStack* s) { return s->MultMatrixLocal(&other); }, other, true},
        {"RotateAxis", [&](ID3DXMatrixStack* s) { return s->RotateAxis(&axis, 0.9f); }, AxisRotation(axis, 0.9f),
         false},
        {"RotateAxisLocal", [&](ID3DXMatrixStack* s) { return s->RotateAxisLocal(&axis, 0.9f); },
         AxisRotation(axis, 0.9f), true},
        {"RotateYawPitchRoll", [](ID3DXMatrixStack* s) { return s->RotateYawPitchRoll(0.5f, -0.3f, 1.0f); },
         YawPitchRoll(0.5f, -0.3f, 1.0f), false},
        {"RotateYawPitchRollLocal",
         [](ID3DXMatrixStack* s) { return s->RotateYawPitchRollLocal(0.5f, -0.3f, 1.0f); },
         YawPitchRoll(0.5f, -0.3f, 1.0f), true},
        {"Scale", [](ID3DXMatrixStack* s) { return s->Scale(2, 3, 4); }, Scaling(2, 3, 4), false},
        {"ScaleLocal", [](ID3DXMatrixStack* s) { return s->ScaleLocal(2, 3, 4); }, Scaling(2, 3, 4), true},
        {"Translate", [](ID3DXMatrixStack* s) { return s->Translate(1, -2, 5); }, Translation(1, -2, 5), false},
        {"TranslateLocal", [](ID3DXMatrixStack* s) { return s->TranslateLocal(1, -2, 5); },
         Translation(1, -2, 5), true},
    };
    const D3DXMATRIX start = YawPitchRoll(1.0f, 0.5f, 0.25f) * Scaling(1, 2, 1) * Translation(4, 5, 6);
    for (const auto& c : cases) {
        ASSERT_EQ(stack_->LoadMatrix(&start), S_OK);
        EXPECT_EQ(c.call(stack_), S_OK) << c.name;
        const D3DXMATRIX expected = c.local ? c.m * start : start * c.m;
        EXPECT_TRUE(Near(Top(), expected, 1e-4f)) << c.name;
        EXPECT_EQ(MatrixStackDepth(stack_), 1u) << c.name;
    }
}

TEST_F(MatrixStackTest, ObjectPlacementTranslatesRotatesThenScalesAboutItsOrigin) {
    // A child at (1, 0, 0), unrotated, scaled by 2 under an identity parent: its origin lands at
    // (2, 0, 0) and it is twice as large.
    ASSERT_EQ(stack_->Push(), S_OK);
    ASSERT_EQ(stack_->TranslateLocal(1, 0, 0), S_OK);
    ASSERT_EQ(stack_->RotateYawPitchRollLocal(0, 0, 0), S_OK);
    ASSERT_EQ(stack_->Scale(2, 2, 2), S_OK);
    EXPECT_TRUE(Near(Apply(Top(), D3DXVECTOR3(0, 0, 0)), D3DXVECTOR3(2, 0, 0)));
    EXPECT_TRUE(Near(Apply(Top(), D3DXVECTOR3(1, 0, 0)), D3DXVECTOR3(4, 0, 0)));
    ASSERT_EQ(stack_->Pop(), S_OK);
    EXPECT_TRUE(D3DXMatrixIsIdentity(stack_->GetTop()));
}

TEST_F(MatrixStackTest, NullArgumentsAreRefused) {
    EXPECT_EQ(stack_->LoadMatrix(nullptr), D3DERR_INVALIDCALL);
    EXPECT_EQ(stack_->MultMatrix(nullptr), D3DERR_INVALIDCALL);
    EXPECT_EQ(stack_->MultMatrixLocal(nullptr), D3DERR_INVALIDCALL);
    EXPECT_EQ(stack_->RotateAxis(nullptr, 1.0f), D3DERR_INVALIDCALL);
    EXPECT_EQ(stack_->RotateAxisLocal(nullptr, 1.0f), D3DERR_INVALIDCALL);
    EXPECT_TRUE(D3DXMatrixIsIdentity(stack_->GetTop()));
    EXPECT_EQ(D3DXCreateMatrixStack(0, nullptr), D3DERR_INVALIDCALL);
}

TEST_F(MatrixStackTest, CountsReferencesAndAnswersItsInterfaces) {
    EXPECT_EQ(stack_->AddRef(), 2u);
    EXPECT_EQ(stack_->Release(), 1u);

    void* found = nullptr;
    EXPECT_EQ(stack_->QueryInterface(IID_ID3DXMatrixStack, &found), S_OK);
    EXPECT_EQ(found, stack_);
    EXPECT_EQ(stack_->QueryInterface(IID_IUnknown, &found), S_OK);
    EXPECT_EQ(static_cast<IUnknown*>(found), static_cast<IUnknown*>(stack_));
    EXPECT_EQ(stack_->Release(), 2u);
    EXPECT_EQ(stack_->Release(), 1u);

    found = &found;
    EXPECT_EQ(stack_->QueryInterface(IID_IDirect3DDevice9, &found), E_NOINTERFACE);
    EXPECT_EQ(found, nullptr);
    EXPECT_EQ(stack_->QueryInterface(IID_IUnknown, nullptr), E_POINTER);
}

TEST(MatrixStackDepthProbe, AnswersZeroForNull) { EXPECT_EQ(MatrixStackDepth(nullptr), 0u); }

}  // namespace
