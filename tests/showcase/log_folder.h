// Where the error log lands inside a test's temporary folder: no file may get a backslash in its name
// (a path the platform did not map), and folders whose full path has an exact length.
#pragma once

#include <filesystem>
#include <string>

// True when some file below `folder` has a backslash in its name.
inline bool HasBackslashName(const std::filesystem::path& folder) {
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
        if (entry.path().filename().string().find('\\') != std::string::npos) return true;
    }
    return false;
}

// The file a backslash path would make on this file system: "<root>\ErrorLog.txt" beside the root.
inline bool LogLandedBesideRoot(const std::filesystem::path& root) {
    return std::filesystem::exists(root.string() + "\\ErrorLog.txt");
}

// Makes a folder below the root whose absolute path has exactly `length` characters, and enters it.
inline std::filesystem::path EnterFolderOfLength(const std::filesystem::path& root, size_t length) {
    std::filesystem::path folder = root;
    while (folder.string().size() < length) {
        // Characters left after the next separator; never leave exactly one, which would not fit.
        const size_t remaining = length - folder.string().size() - 1;
        size_t chunk = remaining < 50 ? remaining : 50;
        if (remaining - chunk == 1) --chunk;
        folder /= std::string(chunk, 'd');
    }
    std::filesystem::create_directories(folder);
    std::filesystem::current_path(folder);
    return folder;
}
