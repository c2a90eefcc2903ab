// A fresh folder under the system's temporary folder that the test runs in; the previous working
// directory comes back and the folder is removed afterwards.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>

class TempFolder {
public:
    TempFolder() : m_previous(std::filesystem::current_path()) {
        std::string pattern = (std::filesystem::temp_directory_path() / "morvath-showcase-XXXXXX").string();
        m_root = mkdtemp(pattern.data());
        std::filesystem::current_path(m_root);
    }
    ~TempFolder() {
        std::filesystem::current_path(m_previous);
        std::error_code ignored;
        std::filesystem::remove_all(m_root, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& Root() const { return m_root; }

    // Makes a folder below the root whose absolute path has exactly `length` characters, and enters it.
    std::filesystem::path EnterFolderOfLength(size_t length) {
        std::filesystem::path folder = m_root;
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

    // The file a backslash path would make on this file system: "<root>\ErrorLog.txt" beside the root.
    bool LogLandedBesideRoot() const {
        return std::filesystem::exists(m_root.string() + "\\ErrorLog.txt");
    }

private:
    std::filesystem::path m_previous;
    std::filesystem::path m_root;
};

inline std::string ReadWholeFile(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

// True when some file below `folder` has a backslash in its name.
inline bool HasBackslashName(const std::filesystem::path& folder) {
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
        if (entry.path().filename().string().find('\\') != std::string::npos) return true;
    }
    return false;
}
