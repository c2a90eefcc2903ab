// The formats the mixer plays: PCM, 1 or 2 channels, 8 or 16 bits, 100 to 200,000 samples a second.
#pragma once

#include "dsound.h"

namespace dsound {

// DS_OK, DSERR_INVALIDPARAM for a record that contradicts itself (null, no channels, no rate, a block
// align that is not channels x bits / 8), DSERR_BADFORMAT for a sound kind the mixer does not play.
HRESULT CheckFormat(const WAVEFORMATEX* format);

}  // namespace dsound
