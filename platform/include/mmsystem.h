// Multimedia: the millisecond system timer, the wave format records and the RIFF file functions.
#pragma once

#include "windef.h"
#include "winerror.h"

typedef UINT MMRESULT;

#define MMSYSERR_NOERROR 0
#define TIMERR_NOERROR 0
#define TIMERR_BASE 96
#define TIMERR_NOCANDO (TIMERR_BASE + 1)

// Milliseconds since the machine started, wrapping at 2^32.
DWORD WINAPI timeGetTime(void);

#define MMSYSERR_BASE 0
#define MMSYSERR_ERROR (MMSYSERR_BASE + 1)
#define MMSYSERR_INVALHANDLE (MMSYSERR_BASE + 5)
#define MMSYSERR_NOMEM (MMSYSERR_BASE + 7)
#define MMSYSERR_INVALFLAG (MMSYSERR_BASE + 10)
#define MMSYSERR_INVALPARAM (MMSYSERR_BASE + 11)

// ---- Wave formats ------------------------------------------------------------------------------
// The records have the platform's packing: 14, 16 and 18 bytes, as they are stored in files.
#define WAVE_FORMAT_PCM 1

#pragma pack(push, 2)
typedef struct waveformat_tag {
    WORD wFormatTag;
    WORD nChannels;
    DWORD nSamplesPerSec;
    DWORD nAvgBytesPerSec;
    WORD nBlockAlign;
} WAVEFORMAT, *PWAVEFORMAT, *LPWAVEFORMAT;

typedef struct pcmwaveformat_tag {
    WAVEFORMAT wf;
    WORD wBitsPerSample;
} PCMWAVEFORMAT, *PPCMWAVEFORMAT, *LPPCMWAVEFORMAT;

typedef struct tWAVEFORMATEX {
    WORD wFormatTag;
    WORD nChannels;
    DWORD nSamplesPerSec;
    DWORD nAvgBytesPerSec;
    WORD nBlockAlign;
    WORD wBitsPerSample;
    WORD cbSize;  // extra format bytes that follow the record
} WAVEFORMATEX, *PWAVEFORMATEX, *LPWAVEFORMATEX;
#pragma pack(pop)
typedef const WAVEFORMATEX* LPCWAVEFORMATEX;

static_assert(sizeof(WAVEFORMAT) == 14 && sizeof(PCMWAVEFORMAT) == 16 && sizeof(WAVEFORMATEX) == 18,
              "wave format records keep their stored sizes");

// ---- RIFF file I/O -----------------------------------------------------------------------------
// Buffered I/O on disk files and on memory files ("MEM "), with direct access to the I/O buffer
// (mmioGetInfo / mmioAdvance / mmioSetInfo) and the RIFF chunk functions. Offsets are 32-bit as the
// API has them; chunk walks compute in 64 bits and stop at the end of the file and of the parent.
typedef DWORD FOURCC;
typedef char* HPSTR;
DECLARE_HANDLE(HMMIO);
typedef LRESULT(CALLBACK MMIOPROC)(LPSTR lpmmioinfo, UINT uMsg, LPARAM lParam1, LPARAM lParam2);
typedef MMIOPROC* LPMMIOPROC;

#define mmioFOURCC(ch0, ch1, ch2, ch3)                                                        \
    ((FOURCC)(BYTE)(ch0) | ((FOURCC)(BYTE)(ch1) << 8) | ((FOURCC)(BYTE)(ch2) << 16) | \
     ((FOURCC)(BYTE)(ch3) << 24))
#define FOURCC_RIFF mmioFOURCC('R', 'I', 'F', 'F')
#define FOURCC_LIST mmioFOURCC('L', 'I', 'S', 'T')
#define FOURCC_DOS mmioFOURCC('D', 'O', 'S', ' ')
#define FOURCC_MEM mmioFOURCC('M', 'E', 'M', ' ')

typedef struct _MMIOINFO {
    DWORD dwFlags;
    FOURCC fccIOProc;
    LPMMIOPROC pIOProc;
    UINT wErrorRet;  // why mmioOpenA failed
    HANDLE htask;
    LONG cchBuffer;
    HPSTR pchBuffer;
    HPSTR pchNext;      // the next byte to read or write
    HPSTR pchEndRead;   // one past the last valid byte for reading
    HPSTR pchEndWrite;  // one past the last byte that may be written
    LONG lBufOffset;    // file offset of the buffer's first byte
    LONG lDiskOffset;
    DWORD adwInfo[3];
    DWORD dwReserved1;
    DWORD dwReserved2;
    HMMIO hmmio;
} MMIOINFO, *PMMIOINFO, *LPMMIOINFO;
typedef const MMIOINFO* LPCMMIOINFO;

typedef struct _MMCKINFO {
    FOURCC ckid;
    DWORD cksize;
    FOURCC fccType;       // form type of a RIFF or LIST chunk
    DWORD dwDataOffset;   // file offset of the chunk's data (just past the size field)
    DWORD dwFlags;        // MMIO_DIRTY: created here, its size is fixed when ascending out of it
} MMCKINFO, *PMMCKINFO, *LPMMCKINFO;
typedef const MMCKINFO* LPCMMCKINFO;

// mmioOpenA flags
#define MMIO_READ 0x00000000
#define MMIO_WRITE 0x00000001
#define MMIO_READWRITE 0x00000002
#define MMIO_CREATE 0x00001000
#define MMIO_EXIST 0x00004000
#define MMIO_ALLOCBUF 0x00010000
#define MMIO_DIRTY 0x10000000  // MMIOINFO / MMCKINFO: holds bytes not written out yet
// mmioDescend / mmioCreateChunk flags
#define MMIO_FINDCHUNK 0x0010
#define MMIO_FINDRIFF 0x0020
#define MMIO_FINDLIST 0x0040
#define MMIO_CREATERIFF 0x0020
#define MMIO_CREATELIST 0x0040
// mmioFlush
#define MMIO_EMPTYBUF 0x0010

#define MMIO_DEFAULTBUFFER 8192

#define MMIOERR_BASE 256
#define MMIOERR_FILENOTFOUND (MMIOERR_BASE + 1)
#define MMIOERR_OUTOFMEMORY (MMIOERR_BASE + 2)
#define MMIOERR_CANNOTOPEN (MMIOERR_BASE + 3)
#define MMIOERR_CANNOTCLOSE (MMIOERR_BASE + 4)
#define MMIOERR_CANNOTREAD (MMIOERR_BASE + 5)
#define MMIOERR_CANNOTWRITE (MMIOERR_BASE + 6)
#define MMIOERR_CANNOTSEEK (MMIOERR_BASE + 7)
#define MMIOERR_CANNOTEXPAND (MMIOERR_BASE + 8)
#define MMIOERR_CHUNKNOTFOUND (MMIOERR_BASE + 9)
#define MMIOERR_UNBUFFERED (MMIOERR_BASE + 10)

#ifndef SEEK_SET
#define SEEK_SET 0
#define SEEK_CUR 1
#define SEEK_END 2
#endif

HMMIO WINAPI mmioOpenA(LPSTR pszFileName, LPMMIOINFO pmmioinfo, DWORD fdwOpen);
#define mmioOpen mmioOpenA
MMRESULT WINAPI mmioClose(HMMIO hmmio, UINT fuClose);
LONG WINAPI mmioRead(HMMIO hmmio, HPSTR pch, LONG cch);
LONG WINAPI mmioWrite(HMMIO hmmio, const char* pch, LONG cch);
LONG WINAPI mmioSeek(HMMIO hmmio, LONG lOffset, int iOrigin);
MMRESULT WINAPI mmioGetInfo(HMMIO hmmio, LPMMIOINFO pmmioinfo, UINT fuInfo);
MMRESULT WINAPI mmioSetInfo(HMMIO hmmio, LPCMMIOINFO pmmioinfo, UINT fuInfo);
MMRESULT WINAPI mmioAdvance(HMMIO hmmio, LPMMIOINFO pmmioinfo, UINT fuAdvance);
MMRESULT WINAPI mmioFlush(HMMIO hmmio, UINT fuFlush);
MMRESULT WINAPI mmioDescend(HMMIO hmmio, LPMMCKINFO pmmcki, const MMCKINFO* pmmckiParent, UINT fuDescend);
MMRESULT WINAPI mmioAscend(HMMIO hmmio, LPMMCKINFO pmmcki, UINT fuAscend);
MMRESULT WINAPI mmioCreateChunk(HMMIO hmmio, LPMMCKINFO pmmcki, UINT fuCreate);
