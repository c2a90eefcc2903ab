// The standard templates of meshes, materials and frames in the text encoding.
#include "dxfile.h"

extern const char D3DRM_XTEMPLATES[] =
    "xof 0302txt 0032\n"
    "template Header { <3D82AB43-62DA-11cf-AB39-0020AF71E433> WORD major; WORD minor; DWORD flags; }\n"
    "template Vector { <3D82AB5E-62DA-11cf-AB39-0020AF71E433> FLOAT x; FLOAT y; FLOAT z; }\n"
    "template Coords2d { <F6F23F44-7686-11cf-8F52-0040333594A3> FLOAT u; FLOAT v; }\n"
    "template Matrix4x4 { <F6F23F45-7686-11cf-8F52-0040333594A3> array FLOAT matrix[16]; }\n"
    "template ColorRGBA { <35FF44E0-6C7C-11cf-8F52-0040333594A3> FLOAT red; FLOAT green; FLOAT blue; FLOAT alpha; }\n"
    "template ColorRGB { <D3E16E81-7835-11cf-8F52-0040333594A3> FLOAT red; FLOAT green; FLOAT blue; }\n"
    "template IndexedColor { <1630B820-7842-11cf-8F52-0040333594A3> DWORD index; ColorRGBA indexColor; }\n"
    "template TextureFilename { <A42790E1-7810-11cf-8F52-0040333594A3> STRING filename; }\n"
    "template Material { <3D82AB4D-62DA-11cf-AB39-0020AF71E433> ColorRGBA faceColor; FLOAT power;\n"
    "  ColorRGB specularColor; ColorRGB emissiveColor; [...] }\n"
    "template MeshFace { <3D82AB5F-62DA-11cf-AB39-0020AF71E433> DWORD nFaceVertexIndices;\n"
    "  array DWORD faceVertexIndices[nFaceVertexIndices]; }\n"
    "template MeshTextureCoords { <F6F23F40-7686-11cf-8F52-0040333594A3> DWORD nTextureCoords;\n"
    "  array Coords2d textureCoords[nTextureCoords]; }\n"
    "template MeshMaterialList { <F6F23F42-7686-11cf-8F52-0040333594A3> DWORD nMaterials; DWORD nFaceIndexes;\n"
    "  array DWORD faceIndexes[nFaceIndexes]; [Material <3D82AB4D-62DA-11cf-AB39-0020AF71E433>] }\n"
    "template MeshNormals { <F6F23F43-7686-11cf-8F52-0040333594A3> DWORD nNormals; array Vector normals[nNormals];\n"
    "  DWORD nFaceNormals; array MeshFace faceNormals[nFaceNormals]; }\n"
    "template MeshVertexColors { <1630B821-7842-11cf-8F52-0040333594A3> DWORD nVertexColors;\n"
    "  array IndexedColor vertexColors[nVertexColors]; }\n"
    "template Mesh { <3D82AB44-62DA-11cf-AB39-0020AF71E433> DWORD nVertices; array Vector vertices[nVertices];\n"
    "  DWORD nFaces; array MeshFace faces[nFaces]; [...] }\n"
    "template FrameTransformMatrix { <F6F23F41-7686-11cf-8F52-0040333594A3> Matrix4x4 frameMatrix; }\n"
    "template Frame { <3D82AB46-62DA-11cf-AB39-0020AF71E433> [...] }\n";

extern const DWORD D3DRM_XTEMPLATE_BYTES = sizeof(D3DRM_XTEMPLATES) - 1;
