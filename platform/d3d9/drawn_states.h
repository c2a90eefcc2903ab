// What the device draws: every stage operation, stage argument, blend factor and texture address mode
// the interface names, whether the pipeline draws it, and the caps bit that reports it. The caps
// (software_caps.cpp) and the state conversion (pipeline_state.cpp) both read these tables; the
// README's list of what the device leaves out is checked against them by a test.
#pragma once

#include <optional>
#include <span>

#include "d3d9.h"
#include "pipeline/states.h"

namespace d3d9 {

template <typename Drawn>
struct StateValue {
    DWORD value;                 // the interface's value (D3DTOP_..., D3DBLEND_...)
    const char* name;            // its name, as a refused draw's debugger output gives it
    DWORD cap;                   // the caps bit that reports it (0: none)
    std::optional<Drawn> drawn;  // what the pipeline draws for it; none: draws that use it are refused
};

struct BlendFactorValue : StateValue<pipeline::BlendFactor> {
    // A "both" factor: the source factor, with its inverse for the destination; source only.
    bool both = false;
};

std::span<const StateValue<pipeline::TextureOp>> TextureOps();
std::span<const StateValue<pipeline::ArgSource>> ArgSources();  // by the selection bits of an argument
std::span<const BlendFactorValue> BlendFactors();
std::span<const StateValue<pipeline::Address>> AddressModes();

// The entry for `value`; null for a value the interface does not name.
template <typename Entry>
const Entry* FindState(std::span<const Entry> table, DWORD value) {
    for (const Entry& e : table)
        if (e.value == value) return &e;
    return nullptr;
}

// The caps bits of the entries the pipeline draws.
template <typename Entry>
DWORD DrawnCaps(std::span<const Entry> table) {
    DWORD caps = 0;
    for (const Entry& e : table)
        if (e.drawn) caps |= e.cap;
    return caps;
}

// Render and stage states whose use the device refuses as a whole (beyond the tables' values), each when
// it asks for more than its default: stencil, vertex blending (two states), per-pixel (table) fog,
// w-buffering, separate alpha blending, texture transforms, generated texture coordinates.
enum class RefusedState : uint8_t {
    Stencil,
    VertexBlend,
    IndexedVertexBlend,
    TableFog,
    WBuffer,
    SeparateAlphaBlend,
    TextureTransform,
    GeneratedCoordinates,
};
// Its name, as a refused draw's debugger output gives it.
const char* NameOf(RefusedState state);
// The names of all of them, in the order above.
std::span<const char* const> RefusedStates();

}  // namespace d3d9
