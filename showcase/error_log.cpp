#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <ctime>

#include "error_log.h"

#include "dxerr9.h"
#include "error_text_table.h"
#include "windows.h"

CErrorLog g_errorLog;
LONG g_logLineCount = 0;
char g_errorTextBuffer[128];

namespace {

const char kHeaderRule[] = "\n=== === === === === === === === === === \n\n";

// Working directory + "\" + name into path; false (and an empty path) when the directory cannot be
// read or the whole does not fit.
bool MakeLogPath(char* path, size_t capacity, const char* fileName) {
    path[0] = '\0';
    char directory[120];
    if (fileName == nullptr || _getcwd(directory, sizeof(directory)) == nullptr) return false;
    const size_t directoryLength = strlen(directory);
    const size_t nameLength = strlen(fileName);
    if (directoryLength + 1 + nameLength + 1 > capacity) return false;
    memcpy(path, directory, directoryLength);
    path[directoryLength] = '\\';
    memcpy(path + directoryLength + 1, fileName, nameLength + 1);
    return true;
}

}  // namespace

CErrorLog::CErrorLog() {
    m_lineText[250] = '\0';
    memset(m_filePath, 0, sizeof(m_filePath));
}

CErrorLog::~CErrorLog() {}

bool CErrorLog::Start(const char* fileName) {
    if (!MakeLogPath(m_filePath, sizeof(m_filePath), fileName)) return true;
    FILE* file = fopen(m_filePath, "w+");
    if (file == nullptr) return true;
    fprintf(file, "%s", kHeaderRule);
    const time_t now = time(nullptr);
    fprintf(file, "Log started: %s \n\n", asctime(localtime(&now)));
    fclose(file);
    return true;
}

bool CErrorLog::Log(const char* format, ...) {
    va_list arguments;
    va_start(arguments, format);
    // Cut at 250 characters; m_lineText[250] stays the terminator.
    _vsnprintf(m_lineText, 250, format, arguments);
    va_end(arguments);
    return WriteLine(m_lineText);
}

bool CErrorLog::WriteLine(const char* text) {
    ++g_logLineCount;
    const char* mode = "a+";
    if (g_logLineCount > kLogLineLimit) {
        mode = "w+";
        g_logLineCount = 0;
    }
    if (m_filePath[0] == '\0') return true;
    FILE* file = fopen(m_filePath, mode);
    if (file == nullptr) return true;
    fprintf(file, "%.250s\n", text != nullptr ? text : "");
    fclose(file);
    return true;
}

void CErrorLog::LogError(HRESULT code, const char* sourceFile, int line) {
    const char* errorText = ErrorText(code);
    const char* fileName = sourceFile != nullptr ? sourceFile : "";
    const size_t fileLength = strlen(fileName);
    if (fileLength > 40) fileName += fileLength - 40;
    char entry[128];
    snprintf(entry, sizeof(entry), "##  Error %.40s in file %.40s, line %03d \n", errorText, fileName, line);
    // The composed line is the text, never a format: percent signs in it stay as they are.
    Log("%s", entry);
}

const char* CErrorLog::ErrorText(HRESULT code) {
    const char* name = DXGetErrorString9A(code);
    if (name != nullptr && strstr(name, "nknown") == nullptr) return name;
    if (const char* text = LookUpErrorText(code)) return text;
    const DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                                        static_cast<DWORD>(code), MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT),
                                        g_errorTextBuffer, 127, nullptr);
    if (length == 0) {
        snprintf(g_errorTextBuffer, sizeof(g_errorTextBuffer), "(Unknown: 0x%08X, facility 0x%04X, error %u)",
                 static_cast<unsigned>(code), static_cast<unsigned>((code >> 16) & 0xFFF),
                 static_cast<unsigned>(code & 0xFFFF));
        return g_errorTextBuffer;
    }
    // The system's text ends in its own line end, which would break an error entry in two.
    size_t end = strlen(g_errorTextBuffer);
    while (end > 0 && (g_errorTextBuffer[end - 1] == '\r' || g_errorTextBuffer[end - 1] == '\n')) --end;
    g_errorTextBuffer[end] = '\0';
    return g_errorTextBuffer;
}
