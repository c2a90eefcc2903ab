// A fresh temporary folder made the working directory for one test; the old working directory is
// restored and the folder removed afterwards.
#pragma once

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>

#include "windef.h"
#include "winbase.h"

class TempFolder {
public:
    TempFolder() : m_previous(std::filesystem::current_path()) {
        std::string pattern = (std::filesystem::temp_directory_path() / "morvath-fw-XXXXXX").string();
        if (mkdtemp(pattern.data()) != nullptr) m_path = pattern;
        std::filesystem::current_path(m_path);
    }
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::current_path(m_previous, ignored);
        std::filesystem::remove_all(m_path, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& Path() const { return m_path; }

    // Creates a file (and its folders) at a path relative to the folder, with `/` separators.
    void AddFile(const std::string& relative, const std::string& contents = "x") const {
        std::filesystem::path full = m_path / relative;
        std::filesystem::create_directories(full.parent_path());
        std::ofstream(full, std::ios::binary) << contents;
    }
    void AddFolder(const std::string& relative) const { std::filesystem::create_directories(m_path / relative); }

    // The folder as the platform writes paths ("\tmp\morvath-fw-abc123").
    std::string ProgramPath() const {
        char buffer[1024] = {};
        GetCurrentDirectoryA(sizeof(buffer), buffer);
        return buffer;
    }

private:
    std::filesystem::path m_previous;
    std::filesystem::path m_path;
};
