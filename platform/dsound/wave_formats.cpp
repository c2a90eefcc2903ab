#include "wave_formats.h"

namespace dsound {

HRESULT CheckFormat(const WAVEFORMATEX* f) {
    if (f == nullptr || f->nChannels == 0 || f->nSamplesPerSec == 0 || f->wBitsPerSample == 0)
        return DSERR_INVALIDPARAM;
    if (f->wBitsPerSample % 8 != 0 || f->nBlockAlign != f->nChannels * (f->wBitsPerSample / 8))
        return DSERR_INVALIDPARAM;
    if (f->wFormatTag != WAVE_FORMAT_PCM || f->nChannels > 2 || (f->wBitsPerSample != 8 && f->wBitsPerSample != 16))
        return DSERR_BADFORMAT;
    if (f->nSamplesPerSec < DSBFREQUENCY_MIN || f->nSamplesPerSec > DSBFREQUENCY_MAX) return DSERR_BADFORMAT;
    return DS_OK;
}

}  // namespace dsound
