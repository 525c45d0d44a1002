// Helpers of the converter's tests: scratch files, PNG files written with
// libpng's own writer, the converter's display captured and replayed as a
// terminal would show it.
#pragma once

#include "bmpconv/diagnostics.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

using byte_rows = std::vector<std::vector<uint8_t>>;

// A fresh folder under the system's temporary folder, removed at destruction.
struct scratch_dir {
    scratch_dir();
    ~scratch_dir();
    scratch_dir(const scratch_dir&) = delete;
    scratch_dir& operator=(const scratch_dir&) = delete;
    std::string file(const std::string& name) const { return (path / name).string(); }
    std::filesystem::path path;
};

struct png_layout {
    uint32_t width = 1;
    uint32_t height = 1;
    int bit_depth = 8;
    int color_type = PNG_COLOR_TYPE_GRAY;
    bool interlaced = false;
};

// Writes rows (packed PNG samples, top row first) as a PNG file; a failed
// write fails the test. With no rows, every sample is (x + y) & 0xFF.
void write_png(const std::string& path, const png_layout& layout, const byte_rows& rows = {});

std::vector<uint8_t> read_file(const std::string& path);
void write_file(const std::string& path, const std::vector<uint8_t>& bytes);

// What a terminal shows after the given output: the last line (the one the
// cursor is on, or the last finished one when output ends with a newline)
// and the widest that line ever was.
struct terminal_view {
    std::string last_line;
    std::size_t widest = 0;
};
terminal_view replay(const std::string& output);

// Base of the converter's tests: fresh diagnostics state whose display goes
// to a scratch stream that output() reads back.
class converter_test : public ::testing::Test {
public:
    std::string output();  // everything displayed since SetUp
    scratch_dir dir;

protected:
    void SetUp() override;
    void TearDown() override;
};
