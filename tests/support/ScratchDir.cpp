#include "support/ScratchDir.h"

#include <cstdlib>
#include <string>
#ifdef _WIN32
#include <process.h>
#endif
#include <fstream>
#include <iterator>

void ScratchDirPerTest::OnTestStart(const testing::TestInfo&)
{
    m_home = std::filesystem::current_path();
#ifdef _WIN32
    // A name of its own: the process and a counter (mkdtemp is POSIX).
    static int made = 0;
    for (;;) {
        m_dir = std::filesystem::temp_directory_path() /
                ("kbr_test_" + std::to_string(::_getpid()) + "_" + std::to_string(++made));
        if (std::filesystem::create_directory(m_dir))
            break;
    }
#else
    std::string templ = (std::filesystem::temp_directory_path() / "kbr_test_XXXXXX").string();
    m_dir = ::mkdtemp(templ.data());
#endif
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
