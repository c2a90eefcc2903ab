#include "mesh_file_fixture.h"

#include <filesystem>
#include <sstream>

#include "d3d9/control.h"
#include "d3dx9.h"

namespace meshfile_test {

void MeshFileTest::SetUp() {
    DrawTest::SetUp();
    goldenFolder_ = (std::filesystem::path(MORVATH_SOURCE_DIR) / "tests/meshfile/golden").string();
    folder_.emplace(test_support::TempFolder::kEnter);
    d3d9::control::EnableCallLog(true);
}

void MeshFileTest::TearDown() {
    d3d9::control::EnableCallLog(false);
    folder_.reset();
    DrawTest::TearDown();
}

void MeshFileTest::WriteFile(const std::string& relative, const std::string& bytes) const {
    folder_->AddFile(relative, bytes);
}

void MeshFileTest::WriteFile(const std::string& relative, const std::vector<uint8_t>& bytes) const {
    folder_->AddFile(relative, bytes);
}

void MeshFileTest::UseFlatCamera() {
    D3DXMATRIX identity, projection;
    D3DXMatrixIdentity(&identity);
    D3DXMatrixOrthoLH(&projection, 8, 8, -10, 10);
    device_->SetTransform(D3DTS_WORLD, &identity);
    device_->SetTransform(D3DTS_VIEW, &identity);
    device_->SetTransform(D3DTS_PROJECTION, &projection);
    device_->SetRenderState(D3DRS_LIGHTING, TRUE);
    device_->SetRenderState(D3DRS_AMBIENT, 0);
    device_->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
}

std::vector<unsigned> MeshFileTest::DrawnStartIndices() {
    std::vector<unsigned> starts;
    for (const std::string& line : d3d9::control::CallsNamed("DrawIndexedPrimitive")) {
        // DrawIndexedPrimitive(type,base,min,count,start,primitives)
        std::stringstream fields(line.substr(line.find('(') + 1));
        std::string field;
        for (int i = 0; i < 5 && std::getline(fields, field, ','); ++i) {
        }
        starts.push_back(unsigned(std::stoul(field)));
    }
    d3d9::control::ClearCallLog();
    return starts;
}

}  // namespace meshfile_test
