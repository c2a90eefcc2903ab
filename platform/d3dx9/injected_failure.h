// The machine's failure injection as the utility library's calls ask it.
#pragma once

#include <string_view>

#include "machine/failures.h"
#include "winerror.h"

namespace d3dx9 {

// A failure the machine injects at this use of the named call, or S_OK.
inline HRESULT InjectedFailure(std::string_view call) {
    if (auto code = machine::InjectedFailure(call)) return static_cast<HRESULT>(*code);
    return S_OK;
}

}  // namespace d3dx9
