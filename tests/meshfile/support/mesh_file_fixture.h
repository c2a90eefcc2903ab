// A device with a lockable back buffer and a depth buffer on a fresh machine, a temporary working
// directory for the X files and textures a test writes, a camera, and golden images of its own.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "draw_fixture.h"
#include "temp_folder.h"

namespace meshfile_test {

class MeshFileTest : public test::DrawTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // Writes a file at a path relative to the working directory.
    void WriteFile(const std::string& relative, const std::string& bytes) const;
    void WriteFile(const std::string& relative, const std::vector<uint8_t>& bytes) const;
    // An orthographic camera 8 units wide looking along +z (8 pixels a unit, the origin at the centre),
    // lighting on with no light and no ambient, so a material shows its emissive colour and its
    // diffuse alpha (stage 0 modulates the texture's alpha by it); no culling.
    void UseFlatCamera();
    // The "DrawIndexedPrimitive" lines of the device's call log since the last call, as the first index
    // each drew: which subsets were drawn, in order.
    std::vector<unsigned> DrawnStartIndices();

private:
    std::optional<test_support::TempFolder> folder_;
};

}  // namespace meshfile_test
