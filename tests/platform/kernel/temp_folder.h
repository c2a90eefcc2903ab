// A scratch folder under /tmp for file tests: made fresh, entered as the working directory, and
// removed (with the old working directory restored) when the test ends.
#pragma once

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include <gtest/gtest.h>

class TempFolder : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/kernel-test-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        root_ = pattern;
        previous_ = std::filesystem::current_path();
        std::filesystem::current_path(root_);
    }
    void TearDown() override {
        std::filesystem::current_path(previous_);
        std::error_code ignored;
        std::filesystem::remove_all(root_, ignored);
    }

    // Writes a file (and its folders) below the scratch folder; `relative` uses '/'.
    void MakeFile(const std::string& relative, const std::string& content = "data") {
        std::filesystem::path path = root_ / relative;
        std::filesystem::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << content;
    }
    void MakeFolder(const std::string& relative) { std::filesystem::create_directories(root_ / relative); }

    // The scratch folder in the platform's form ("\tmp\kernel-test-abc123").
    std::string ProgramRoot() const {
        std::string text = root_.string();
        for (char& c : text)
            if (c == '/') c = '\\';
        return text;
    }

    std::filesystem::path root_;
    std::filesystem::path previous_;
};
