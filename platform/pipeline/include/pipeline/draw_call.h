#pragma once
// One draw: which vertices, joined how.
#include <cstdint>

#include "pipeline/vertex_layout.h"

namespace pipeline {

enum class PrimitiveType : uint8_t { PointList, LineList, LineStrip, TriangleList, TriangleStrip, TriangleFan };
enum class IndexSize : uint8_t { None, Bits16, Bits32 };

struct DrawCall {
    PrimitiveType type = PrimitiveType::TriangleList;
    int primitiveCount = 0;          // primitives to draw
    const uint8_t* vertices = nullptr;  // vertex 0 of the stream
    VertexLayout layout;             // what one vertex holds
    int vertexCount = 0;             // vertices readable from `vertices`: nothing beyond is read
    int firstVertex = 0;             // not indexed: the first vertex drawn; indexed: the lowest index used + baseVertex
    int usedVertexCount = 0;         // indexed: vertices from firstVertex the indices may name (others drop their primitive)
    const void* indices = nullptr;   // first index of the draw, or null
    IndexSize indexSize = IndexSize::None;  // None: not indexed
    int indexCount = 0;              // indices readable from `indices`: nothing beyond is read
    int baseVertex = 0;              // added to every index
    int threads = 0;                 // 0: the global setting; 1: the single-threaded reference path; n: at most n
};

// Vertices (or indices) a primitive count needs.
int ElementsFor(PrimitiveType type, int primitiveCount);

}  // namespace pipeline
