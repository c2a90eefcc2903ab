#include "mesh_file_fixture.h"

#include <unistd.h>

#include <fstream>
#include <sstream>

#include "d3d9/control.h"
#include "d3dx9.h"

namespace meshfile_test {

void MeshFileTest::SetUp() {
    DrawTest::SetUp();
    goldenFolder_ = (std::filesystem::path(MORVATH_SOURCE_DIR) / "tests/meshfile/golden").string();
    previous_ = std::filesystem::current_path();
    std::string pattern = (std::filesystem::temp_directory_path() / "morvath-meshfile-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    folder_ = pattern;
    std::filesystem::current_path(folder_);
    d3d9::control::EnableCallLog(true);
}

void MeshFileTest::TearDown() {
    d3d9::control::EnableCallLog(false);
    std::error_code ignored;
    std::filesystem::current_path(previous_, ignored);
    std::filesystem::remove_all(folder_, ignored);
    DrawTest::TearDown();
}

void MeshFileTest::WriteFile(const std::string& relative, const std::string& bytes) const {
    const std::filesystem::path path = folder_ / relative;
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
}

void MeshFileTest::WriteFile(const std::string& relative, const std::vector<uint8_t>& bytes) const {
    WriteFile(relative, std::string(bytes.begin(), bytes.end()));
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
    // Alpha from the material whether or not a texture is bound.
    device_->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_MODULATE);
    device_->SetTextureStageState(0, D3DTSS_ALPHAARG1, D3DTA_TEXTURE);
    device_->SetTextureStageState(0, D3DTSS_ALPHAARG2, D3DTA_DIFFUSE);
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
