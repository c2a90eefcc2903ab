// The showcase's plain-text log file: a dated header at start, then one line per entry. Every line
// opens the file, appends and closes it again; a process-wide line count keeps the file short.
#pragma once

#include "windows.h"

class CErrorLog {
public:
    CErrorLog();
    ~CErrorLog();

    // Makes the path (working directory + "\" + name), empties or creates the file and writes the
    // header. A path that does not fit m_filePath leaves the log without a file: nothing is written.
    bool Start(const char* fileName);
    // printf-style: formats at most 250 characters into m_lineText, then writes them as one line.
    bool Log(const char* format, ...);
    // Appends "%.250s\n"; the 2,001st line since start or since the last wrap empties the file first.
    bool WriteLine(const char* text);
    // "##  Error <text> in file <last 40 characters of the file name>, line <nnn> " and an empty line.
    void LogError(HRESULT code, const char* sourceFile, int line);
    // The code's symbolic name, a text of our own table, the system's text (without its line end) or a
    // placeholder; a non-constant answer lives in g_errorTextBuffer until the next such call.
    const char* ErrorText(HRESULT code);

    char m_lineText[251];
    char m_filePath[120];
};

extern CErrorLog g_errorLog;
extern LONG g_logLineCount;
extern char g_errorTextBuffer[128];

// The line count after which the next line empties the file.
constexpr LONG kLogLineLimit = 2000;
