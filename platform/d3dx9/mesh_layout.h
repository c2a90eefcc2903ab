// Where each component of a flexible vertex format sits inside one vertex, and the internal pieces
// the mesh functions share.
#pragma once

#include <cstdint>
#include <vector>

#include "d3d9/fvf_layout.h"
#include "d3dx9.h"
#include "injected_failure.h"

namespace d3dx9 {

// The layout of a mesh's vertices: the format decoded, with stride 0 for a format without a position.
d3d9::FvfLayout LayoutOfFvf(DWORD fvf);

// OptimizeInplace as the loader uses it on a mesh it has just made: the program's own calls of the
// method are the ones failures are injected into.
HRESULT OptimizeMadeMesh(ID3DXMesh* mesh, DWORD flags, const DWORD* adjacencyIn, DWORD* adjacencyOut);

// Copies one vertex from one layout into another: the components both hold (positions as far as
// both reach, texture sets up to the smaller size); the rest of the destination is left as it was.
void ConvertVertex(const uint8_t* from, const d3d9::FvfLayout& fromLayout, uint8_t* to,
                   const d3d9::FvfLayout& toLayout);

// Three DWORDs per face: the face across each edge (k, k+1), or 0xFFFFFFFF.
std::vector<DWORD> ComputeAdjacency(const std::vector<uint32_t>& indices);

// Reads or writes a mesh's indices and attributes as plain arrays, whatever the index width.
HRESULT ReadIndices(ID3DXMesh* mesh, std::vector<uint32_t>& indices);
HRESULT WriteIndices(ID3DXMesh* mesh, const std::vector<uint32_t>& indices);
HRESULT WriteAttributes(ID3DXMesh* mesh, const std::vector<DWORD>& attributes);

}  // namespace d3dx9
