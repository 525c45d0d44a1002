#include "platform/platform.h"
#include "platform/posix/command_line.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <sys/stat.h>

namespace {

TEST(PosixCommandLine, ArgumentsAreQuotedSoTheTokenizerReadsThemBack)
{
    const char* argv[] = {"tessel", "-o", "my file.png", "", "say \"hi\" now", "it's", "a\"b"};
    EXPECT_EQ(join_arguments(7, argv),
              "-o \"my file.png\" \"\" 'say \"hi\" now' it's a\"b");
    EXPECT_EQ(join_arguments(1, argv), "");
}

TEST(PosixTempFile, IsCreatedPrivateInTmpdirWithThePrefixAndTmp)
{
    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() / ("tessel-test-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const std::string saved = std::getenv("TMPDIR") != nullptr ? std::getenv("TMPDIR") : "";
    setenv("TMPDIR", dir.c_str(), 1);

    char name[260];
    ASSERT_TRUE(create_temp_file(name, sizeof name, "tessl-"));
    const std::filesystem::path made(name);
    EXPECT_EQ(made.parent_path(), dir);
    EXPECT_EQ(made.filename().string().substr(0, 3), "tes");
    EXPECT_EQ(made.extension(), ".tmp");
    struct stat st {};
    ASSERT_EQ(stat(name, &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    EXPECT_EQ(st.st_size, 0);

    char tiny[8];
    EXPECT_FALSE(create_temp_file(tiny, sizeof tiny, "tessl-"));
    EXPECT_STREQ(tiny, "");

    setenv("TMPDIR", "", 1);
    ASSERT_TRUE(create_temp_file(name, sizeof name, "tessl-"));
    EXPECT_EQ(std::filesystem::path(name).parent_path(), "/tmp") << "an empty TMPDIR is unset";
    std::filesystem::remove(name);

    setenv("TMPDIR", (dir / "missing").c_str(), 1);
    EXPECT_FALSE(create_temp_file(name, sizeof name, "tessl-"));

    if (saved.empty())
        unsetenv("TMPDIR");
    else
        setenv("TMPDIR", saved.c_str(), 1);
    std::filesystem::remove_all(dir);
}

}  // namespace
