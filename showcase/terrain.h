// The height-field terrain: a 129 x 129 grid of points centred on the origin, one unit apart. The
// generators change the target heights; Morph moves the drawn heights a step toward them per frame.
// The device side (buffers, textures, vertex rewrite, drawing) is in terrain_device.cpp.
#pragma once

#include "d3d9.h"
#include "plane.h"
#include "vector3.h"

constexpr int kTerrainPoints = 129;   // grid points along an edge
constexpr int kTerrainWorking = 128;  // the generators' region: x and z from 0 to 127

class CTerrain {
public:
    CTerrain();
    ~CTerrain() = default;
    CTerrain(const CTerrain&) = delete;
    CTerrain& operator=(const CTerrain&) = delete;

    // ---- Grids and generators -------------------------------------------------------------------
    void Fill(float height);
    // Fill(0) and the normals; the dirty flag is left as it is.
    void Flatten();
    // Moves each current height the rate's fraction of the way to its target, snapping within the
    // rate; clears the dirty flag in the call that settles every point.
    void Morph(float rate);
    void MorphByStep(float step);
    CVector3 RandomPoint();
    void ComputeNormals();
    void AddNoise(float amplitude);
    void MakeWaves();
    void AddRandomHill(float radius, float height);
    void AddHill(float x, float z, float radius, float height);
    void Scale(float factor);
    void Smooth();
    void ApplyFault(const CPlane& plane, float amount);
    void AddFaults(float amount, unsigned count);
    // Maps the targets to 0..1 into the normalised grid (and with rescale the targets to 0..maximum);
    // answers the range before the call. A range of 0 leaves both grids as they are.
    float Normalise(float maximumHeight, bool rescale);
    void LoadFromBytes(const unsigned char* data, float scale, bool add);
    void LoadFromInts(const int* data, float scale, bool add);
    // Queries by world position; a point outside the grid answers 0 (false for IsInside).
    float HeightAt(float x, float z) const;
    CVector3 HeightDifferencesAt(float x, float z) const;
    bool IsInside(float x, float z) const;

    // ---- Device objects -------------------------------------------------------------------------
    // Sets every height to 0 and makes the buffers and both textures; answers the shadow texture's
    // result.
    HRESULT CreateDeviceResources(IDirect3DDevice9*& device);
    // Rewrites every vertex from the grids (the device is not used).
    void UpdateVertices(IDirect3DDevice9*& device);
    void RefreshIfDirty(IDirect3DDevice9*& device);
    void Draw(IDirect3DDevice9*& device);
    HRESULT ReleaseDeviceResources();
    // Target heights from a raw file of 129 x 129 bytes, each 0..255 mapped to 0..maximum.
    void LoadRaw(const char* path, float maximumHeight);

    CVector3 m_normals[kTerrainPoints][kTerrainPoints];
    IDirect3DVertexBuffer9* m_pVertexBuffer;
    IDirect3DIndexBuffer9* m_pIndexBuffer;
    int m_numVertices;
    int m_numTriangles;
    IDirect3DTexture9* m_pGrassTexture;
    IDirect3DTexture9* m_pShadowTexture;
    bool m_bDirty;
    float m_cellSize;  // world size of a cell, read by the queries by world position only
    float m_gridSize;
    float m_height[kTerrainPoints][kTerrainPoints];      // current heights [x][z]
    float m_target[kTerrainPoints][kTerrainPoints];      // target heights
    float m_normalised[kTerrainPoints][kTerrainPoints];  // targets mapped to 0..1 by Normalise

private:
    CVector3 NormalAt(int x, int z) const;
    // The grid cell a world position falls in; false outside the grid.
    bool CellAt(float x, float z, int& a, int& b, float& u, float& v) const;
};
