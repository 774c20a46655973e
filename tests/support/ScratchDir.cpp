#include "support/ScratchDir.h"

#include <cstdlib>
#include <fstream>
#include <iterator>

void ScratchDirPerTest::OnTestStart(const testing::TestInfo&)
{
    m_home = std::filesystem::current_path();
    std::string templ = (std::filesystem::temp_directory_path() / "kbr_test_XXXXXX").string();
    m_dir = ::mkdtemp(templ.data());
    std::filesystem::current_path(m_dir);
}

void ScratchDirPerTest::OnTestEnd(const testing::TestInfo&)
{
    std::filesystem::current_path(m_home);
    std::error_code ignored;
    std::filesystem::permissions(m_dir, std::filesystem::perms::owner_all, ignored);
    std::filesystem::remove_all(m_dir, ignored);
}

std::string ReadWholeFile(const std::string& name)
{
    std::ifstream in(name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteWholeFile(const std::string& name, const std::string& bytes)
{
    std::ofstream(name, std::ios::binary | std::ios::trunc) << bytes;
}

bool FileExists(const std::string& name)
{
    return std::filesystem::exists(std::filesystem::symlink_status(name));
}
