// The utility library's extension templates in the text encoding: skinning, vertex declarations,
// duplication indices, adjacency, effects and animation timing. Exporters write objects of these
// templates without declaring them; the mesh loader knows them so that such files parse, and passes
// over what it does not use.
#include "xfile_templates.h"

namespace d3dx9 {

extern const char kXExtensionTemplates[] =
    "xof 0303txt 0032\n"
    "template VertexDuplicationIndices { <B8D65549-D7C9-4995-89CF-53A9A8B031E3> DWORD nIndices;\n"
    "  DWORD nOriginalVertices; array DWORD indices[nIndices]; }\n"
    "template XSkinMeshHeader { <3CF169CE-FF7C-44ab-93C0-F78F62D172E2> WORD nMaxSkinWeightsPerVertex;\n"
    "  WORD nMaxSkinWeightsPerFace; WORD nBones; }\n"
    "template SkinWeights { <6F0D123B-BAD2-4167-A0D0-80224F25FABB> STRING transformNodeName; DWORD nWeights;\n"
    "  array DWORD vertexIndices[nWeights]; array FLOAT weights[nWeights]; Matrix4x4 matrixOffset; }\n"
    "template FVFData { <B6E70A0E-8EF9-4e83-94AD-ECC8B0C04897> DWORD dwFVF; DWORD nDWords;\n"
    "  array DWORD data[nDWords]; }\n"
    "template VertexElement { <F752461C-1E23-48f6-B9F8-8350850F336F> DWORD Type; DWORD Method; DWORD Usage;\n"
    "  DWORD UsageIndex; }\n"
    "template DeclData { <BF22E553-292C-4781-9FEA-62BD554BDD93> DWORD nElements;\n"
    "  array VertexElement Elements[nElements]; DWORD nDWords; array DWORD data[nDWords]; }\n"
    "template FaceAdjacency { <A64C844A-E282-4756-8B80-250CDE04398C> DWORD nIndices;\n"
    "  array DWORD indices[nIndices]; }\n"
    "template EffectFloats { <F1CFE2B3-0DE3-4e28-AFA1-155A750A282D> DWORD nFloats; array FLOAT Floats[nFloats]; }\n"
    "template EffectString { <D55B097E-BDB6-4c52-B03D-6051C89D0E42> STRING Value; }\n"
    "template EffectDWord { <622C0ED0-956E-4da9-908A-2AF94F3CE716> DWORD Value; }\n"
    "template EffectParamFloats { <3014B9A0-62F5-478c-9B86-E4AC9F4E418B> STRING ParamName; DWORD nFloats;\n"
    "  array FLOAT Floats[nFloats]; }\n"
    "template EffectParamString { <1DBC4C88-94C1-46ee-9076-2C28818C9481> STRING ParamName; STRING Value; }\n"
    "template EffectParamDWord { <E13963BC-AE51-4c5d-B00F-CFA3A9D97CE5> STRING ParamName; DWORD Value; }\n"
    "template EffectInstance { <E331F7E4-0559-4cc2-8E99-1CEC1657928F> STRING EffectFilename; [...] }\n"
    "template AnimTicksPerSecond { <9E415A43-7BA6-4a73-8743-B73D47E88476> DWORD AnimTicksPerSecond; }\n"
    "template CompressedAnimationSet { <7F9B00B3-F125-4890-876E-1C42BF697C4D> DWORD CompressedBlockSize;\n"
    "  FLOAT TicksPerSec; DWORD PlaybackType; DWORD BufferLength; array DWORD CompressedData[BufferLength]; }\n";

extern const unsigned kXExtensionTemplateBytes = sizeof(kXExtensionTemplates) - 1;

}  // namespace d3dx9
