// The sound module: a sound manager around the DirectSound 8 object, sounds held in several
// duplicated buffers, a streaming sound refilled through position notifications, and the RIFF/WAVE
// file they read.
#pragma once

#include "windows.h"
#include "dsound.h"
#include "mmsystem.h"

class CRiffWaveFile;
class CSoundSample;
class CSoundStream;

// The sound manager: creates the DirectSound object and the module's sounds. The sounds it creates
// belong to the caller and must be deleted before the manager.
class CSoundSystem {
public:
    CSoundSystem();
    ~CSoundSystem();

    HRESULT Initialize(HWND window, DWORD cooperativeLevel);
    HRESULT SetPrimaryBufferFormat(DWORD channels, DWORD samplesPerSec, DWORD bitsPerSample);
    HRESULT QueryListener(IDirectSound3DListener** out);
    HRESULT CreateSample(CSoundSample** out, const char* waveName, DWORD creationFlags, GUID algorithm3D,
                         DWORD bufferCount);
    HRESULT CreateSampleFromMemory(CSoundSample** out, BYTE* data, DWORD dataSize, WAVEFORMATEX* format,
                                   DWORD creationFlags, GUID algorithm3D, DWORD bufferCount);
    HRESULT CreateStream(CSoundStream** out, const char* waveName, DWORD creationFlags, GUID algorithm3D,
                         DWORD segmentCount, DWORD segmentSize, HANDLE event);

private:
    IDirectSound8* m_pDirectSound;
};

// One sound held in several buffers, so that it can be heard several times at once.
class CSoundSample {
public:
    CSoundSample(IDirectSoundBuffer** buffers, DWORD bufferSize, DWORD count, CRiffWaveFile* wave, DWORD creationFlags);
    virtual ~CSoundSample();

    HRESULT FillBufferWithSound(IDirectSoundBuffer* buffer, BOOL repeat);
    HRESULT RestoreBuffer(IDirectSoundBuffer* buffer, BOOL* restored);
    IDirectSoundBuffer* GetFreeBuffer();
    IDirectSoundBuffer* BufferAt(DWORD index);
    HRESULT Query3DBuffer(DWORD index, IDirectSound3DBuffer** out);
    HRESULT Play(DWORD priority, DWORD playFlags, LONG volume, LONG frequency, LONG pan);
    HRESULT PlayPositioned(const DS3DBUFFER* parameters, DWORD priority, DWORD playFlags, LONG frequencyOffset);
    HRESULT StopAll();
    HRESULT RewindAll();
    BOOL IsAnyPlaying();

    // What the construction's fill of the first buffer answered.
    HRESULT FirstFillResult() const { return m_firstFill; }

protected:
    BYTE SilenceByte() const;
    // Steps 1 to 3 of a play: a free buffer, restored and refilled when it was lost.
    HRESULT PrepareBuffer(IDirectSoundBuffer** chosen);

    IDirectSoundBuffer** m_apBuffers;
    DWORD m_cbBuffer;
    CRiffWaveFile* m_pWave;
    DWORD m_nBuffers;
    DWORD m_creationFlags;
    HRESULT m_firstFill;
};

// A wave longer than its one buffer: the buffer is divided into segments, and each notification
// refills the segment just played.
class CSoundStream : public CSoundSample {
public:
    CSoundStream(IDirectSoundBuffer* buffer, DWORD bufferSize, CRiffWaveFile* wave, DWORD segmentSize);
    ~CSoundStream() override;

    HRESULT RefillNextSegment(BOOL loop);
    HRESULT Restart();

private:
    DWORD m_lastPlayCursor;
    DWORD m_cbPlayed;
    DWORD m_cbSegment;
    DWORD m_nextWriteOffset;
    BOOL m_bDataEnded;
};

// Reading RIFF/WAVE data from a file, a program resource or a caller's memory image, and writing a
// new RIFF/WAVE file.
class CRiffWaveFile {
public:
    CRiffWaveFile();
    ~CRiffWaveFile();

    HRESULT OpenByName(const char* name, WAVEFORMATEX* format, DWORD mode);
    HRESULT AttachMemoryImage(BYTE* data, DWORD size, WAVEFORMATEX* format, DWORD mode);
    HRESULT ReadMMIO();
    DWORD DataSize();
    HRESULT ResetFile();
    HRESULT Read(BYTE* buffer, DWORD size, DWORD* read);
    HRESULT CloseStream();
    HRESULT WriteMMIO(WAVEFORMATEX* format);
    HRESULT WriteData(DWORD size, const BYTE* data, DWORD* written);

    WAVEFORMATEX* m_pwfx;
    HMMIO m_hFile;
    MMCKINFO m_dataChunk;
    MMCKINFO m_riffChunk;
    DWORD m_cbData;
    MMIOINFO m_writeInfo;
    DWORD m_openMode;
    BOOL m_bFromMemory;
    BYTE* m_pbImage;
    BYTE* m_pbImageCursor;
    DWORD m_cbImage;
    BYTE* m_pResourceCopy;
};
