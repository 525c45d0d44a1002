#include "runlog/run_log.h"

#include "platform/platform.h"
#include "runlog/log_message.h"

#include <cerrno>
#include <cstdio>
#include <ctime>
#include <gtest/gtest.h>
#include <regex>
#include <string>
#include <sys/socket.h>
#include <unistd.h>

namespace {

std::string contents(std::FILE* f)
{
    std::fflush(f);
    std::rewind(f);
    std::string out;
    for (int c; (c = std::fgetc(f)) != EOF;)
        out += static_cast<char>(c);
    return out;
}

TEST(RunLog, LinesAreTimeStampedAndMessagesAreData)
{
    std::FILE* f = std::tmpfile();
    ASSERT_NE(f, nullptr);
    log_line(f, "Dato a codificar no ha sido especificado");
    log_line(f, "");
    log_line(f, "100% %s %n");
    log_line(f, "ends in a break\n");
    log_continuation(f, "indented");
    const std::string text = contents(f);
    std::fclose(f);

    const std::string stamp = "\\d{8}-\\d{9}:";
    const std::regex expected(stamp + "Dato a codificar no ha sido especificado\n" + stamp + "\n" +
                              stamp + "100% %s %n\n" + stamp + "ends in a break\n\n" +
                              " {16}indented\n");
    EXPECT_TRUE(std::regex_match(text, expected)) << text;

    // Longer than the line buffer: still whole.
    std::FILE* g = std::tmpfile();
    ASSERT_NE(g, nullptr);
    const std::string long_text(6000, 'y');
    log_line(g, long_text.c_str());
    EXPECT_EQ(contents(g).substr(19), long_text + "\n");
    std::fclose(g);

    // The longest line a message makes (2,047 bytes, each a line end that
    // Windows writes as two) goes out in one write: a packet of its own here.
    int pair[2];
    ASSERT_EQ(socketpair(AF_UNIX, SOCK_SEQPACKET, 0, pair), 0);
    std::FILE* s = fdopen(pair[0], "w");
    log_line(s, std::string(2 * 2047, 'w').c_str());
    std::string packet(8192, '\0');
    EXPECT_EQ(recv(pair[1], packet.data(), packet.size(), 0), 19 + 2 * 2047 + 1);
    std::fclose(s);
    close(pair[1]);
}

TEST(RunLog, TheTimeStampMatchesTheClockWithLeadingZeros)
{
    // A second stream on the file sees only what log_line has flushed.
    const char* name = "run_log_flush_test.log";
    std::FILE* f = std::fopen(name, "w");
    ASSERT_NE(f, nullptr);
    const std::time_t before = std::time(nullptr);
    log_line(f, "x");
    const std::time_t after = std::time(nullptr);
    std::FILE* reader = std::fopen(name, "r");
    const std::string text = contents(reader);
    std::fclose(reader);
    std::fclose(f);
    std::remove(name);
    // Date and hour from either reading: the hour may turn between them.
    const auto date_and_hour = [](std::time_t t) {
        char out[16];
        std::strftime(out, sizeof out, "%Y%m%d-%H", std::localtime(&t));
        return std::string(out);
    };
    const std::string written = text.substr(0, 11);
    EXPECT_TRUE(written == date_and_hour(before) || written == date_and_hour(after)) << text;
    EXPECT_EQ(text.size(), 21u);
}

TEST(RunLog, LoggingKeepsTheLastSystemErrorForTheLineAfterIt)
{
    std::FILE* f = std::tmpfile();
    errno = ENOENT;
    log_line(f, "Error al crear archivo [x]");
    log_system_error(f);
    const std::string text = contents(f);
    std::fclose(f);
    const std::string expected_tail = "                " + system_error_text(ENOENT) + "\n";
    ASSERT_GE(text.size(), expected_tail.size());
    EXPECT_EQ(text.substr(text.size() - expected_tail.size()), expected_tail);

    // Nor does a failed conversion in the message or a failed write of the line.
    const char* name = "run_log_errno_test.log";
    std::fclose(std::fopen(name, "w"));
    std::FILE* saved = run_log;
    run_log = std::fopen(name, "r");
    ASSERT_NE(run_log, nullptr);
    errno = ENOENT;
    log_message("%ls", L"\u00e9 has no form in the C locale");
    EXPECT_EQ(errno, ENOENT);
    std::fclose(run_log);
    run_log = saved;
    std::remove(name);
}

TEST(RunLog, NothingIsWrittenWithoutALog)
{
    log_line(nullptr, "x");
    log_continuation(nullptr, "x");
    log_system_error(nullptr);
    std::FILE* saved = run_log;
    run_log = nullptr;
    log_message("%s", "nowhere");
    EXPECT_STREQ(message_buffer.data(), "nowhere");
    run_log = saved;
}

TEST(RunLog, UniqueNamesCarryTheSequenceAndTheProcessId)
{
    char first[32];
    char second[32];
    make_unique_name(first);
    make_unique_name(second);
    ASSERT_EQ(std::string(first).size(), 31u);
    ASSERT_EQ(std::string(second).size(), 31u);
    char pid[16];
    std::snprintf(pid, sizeof pid, "%08ld", current_process_id());
    EXPECT_EQ(std::string(first).substr(23), pid);
    const int a = std::stoi(std::string(first).substr(17, 6));
    const int b = std::stoi(std::string(second).substr(17, 6));
    EXPECT_EQ(b, a + 1);
    EXPECT_EQ(a, name_sequence - 1);
}

}  // namespace
