// The system's English message texts for the common Win32 errors and COM results.
#include "system_messages.h"

#include "winerror.h"

namespace kernel {
namespace {

struct Message {
    DWORD id;
    const char* text;
};

constexpr Message kMessages[] = {
    {ERROR_SUCCESS, "The operation completed successfully.\r\n"},
    {ERROR_INVALID_FUNCTION, "Incorrect function.\r\n"},
    {ERROR_FILE_NOT_FOUND, "The system cannot find the file specified.\r\n"},
    {ERROR_PATH_NOT_FOUND, "The system cannot find the path specified.\r\n"},
    {ERROR_TOO_MANY_OPEN_FILES, "The system cannot open the file.\r\n"},
    {ERROR_ACCESS_DENIED, "Access is denied.\r\n"},
    {ERROR_INVALID_HANDLE, "The handle is invalid.\r\n"},
    {ERROR_NOT_ENOUGH_MEMORY, "Not enough storage is available to process this command.\r\n"},
    {ERROR_BAD_FORMAT, "An attempt was made to load a program with an incorrect format.\r\n"},
    {ERROR_INVALID_DATA, "The data is invalid.\r\n"},
    {ERROR_OUTOFMEMORY, "Not enough storage is available to complete this operation.\r\n"},
    {ERROR_SHARING_VIOLATION,
     "The process cannot access the file because it is being used by another process.\r\n"},
    {ERROR_HANDLE_EOF, "Reached the end of the file.\r\n"},
    {ERROR_NOT_SUPPORTED, "The request is not supported.\r\n"},
    {ERROR_FILE_EXISTS, "The file exists.\r\n"},
    {ERROR_INVALID_PARAMETER, "The parameter is incorrect.\r\n"},
    {ERROR_DISK_FULL, "There is not enough space on the disk.\r\n"},
    {ERROR_INSUFFICIENT_BUFFER, "The data area passed to a system call is too small.\r\n"},
    {ERROR_INVALID_NAME, "The filename, directory name, or volume label syntax is incorrect.\r\n"},
    {ERROR_MOD_NOT_FOUND, "The specified module could not be found.\r\n"},
    {ERROR_PROC_NOT_FOUND, "The specified procedure could not be found.\r\n"},
    {ERROR_NEGATIVE_SEEK,
     "An attempt was made to move the file pointer before the beginning of the file.\r\n"},
    {ERROR_ALREADY_EXISTS, "Cannot create a file when that file already exists.\r\n"},
    {ERROR_FILENAME_EXCED_RANGE, "The filename or extension is too long.\r\n"},
    {ERROR_MORE_DATA, "More data is available.\r\n"},
    {ERROR_NO_MORE_ITEMS, "No more data is available.\r\n"},
    {ERROR_NOACCESS, "Invalid access to memory location.\r\n"},
    {ERROR_INVALID_FLAGS, "Invalid flags.\r\n"},
    {ERROR_BADKEY, "The configuration registry key is invalid.\r\n"},
    {ERROR_INVALID_WINDOW_HANDLE, "Invalid window handle.\r\n"},
    {ERROR_INVALID_MENU_HANDLE, "Invalid menu handle.\r\n"},
    {ERROR_RESOURCE_DATA_NOT_FOUND, "The specified image file did not contain a resource section.\r\n"},
    {ERROR_RESOURCE_TYPE_NOT_FOUND, "The specified resource type cannot be found in the image file.\r\n"},
    {ERROR_RESOURCE_NAME_NOT_FOUND, "The specified resource name cannot be found in the image file.\r\n"},
    {ERROR_RESOURCE_LANG_NOT_FOUND,
     "The specified resource language ID cannot be found in the image file.\r\n"},
    {static_cast<DWORD>(E_UNEXPECTED), "Catastrophic failure\r\n"},
    {static_cast<DWORD>(E_NOTIMPL), "Not implemented\r\n"},
    {static_cast<DWORD>(E_NOINTERFACE), "No such interface supported\r\n"},
    {static_cast<DWORD>(E_POINTER), "Invalid pointer\r\n"},
    {static_cast<DWORD>(E_ABORT), "Operation aborted\r\n"},
    {static_cast<DWORD>(E_FAIL), "Unspecified error\r\n"},
    {static_cast<DWORD>(E_PENDING), "The data necessary to complete this operation is not yet available.\r\n"},
    {static_cast<DWORD>(CLASS_E_NOAGGREGATION), "Class does not support aggregation (or class object is remote)\r\n"},
    {static_cast<DWORD>(REGDB_E_CLASSNOTREG), "Class not registered\r\n"},
    {static_cast<DWORD>(CO_E_NOTINITIALIZED), "CoInitialize has not been called.\r\n"},
};

const char* Lookup(DWORD id) {
    for (const Message& message : kMessages)
        if (message.id == id) return message.text;
    return nullptr;
}

}  // namespace

const char* SystemMessageText(DWORD messageId) {
    if (const char* text = Lookup(messageId)) return text;
    if ((messageId & 0xFFFF0000u) == 0x80070000u) return Lookup(messageId & 0xFFFFu);
    return nullptr;
}

}  // namespace kernel
