// Every test runs in a fresh, empty working directory of its own, because the
// program keeps its records files in the working directory.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

class ScratchDirPerTest : public testing::EmptyTestEventListener {
public:
    void OnTestStart(const testing::TestInfo&) override;
    void OnTestEnd(const testing::TestInfo&) override;

private:
    std::filesystem::path m_home;
    std::filesystem::path m_dir;
};

// Whole-file helpers for tests that look at the bytes on disk.
std::string ReadWholeFile(const std::string& name);
void WriteWholeFile(const std::string& name, const std::string& bytes);
bool FileExists(const std::string& name);
