// Helpers of the converter's tests: scratch files, PNG writing, display replay.
#include "test_files.h"

#include <csetjmp>
#include <fstream>
#include <iterator>
#include <random>

scratch_dir::scratch_dir()
{
    std::random_device random;
    path = std::filesystem::temp_directory_path() /
           ("bmpconv-test-" + std::to_string(random()) + std::to_string(random()));
    std::filesystem::create_directories(path);
}

scratch_dir::~scratch_dir()
{
    std::error_code ignored;
    std::filesystem::remove_all(path, ignored);
}

namespace {

// libpng's writer, kept free of destructors because of its longjmp.
bool write_png_file(std::FILE* file, const png_layout& layout, png_bytepp rows)
{
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png != nullptr ? png_create_info_struct(png) : nullptr;
    volatile bool ok = false;
    if (info != nullptr && setjmp(png_jmpbuf(png)) == 0) {
        png_init_io(png, file);
        png_set_IHDR(png, info, layout.width, layout.height, layout.bit_depth, layout.color_type,
                     layout.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
                     PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
        png_write_info(png, info);
        png_write_image(png, rows);
        png_write_end(png, nullptr);
        ok = true;
    }
    png_destroy_write_struct(&png, &info);
    return ok;
}

int channels_of(int color_type)
{
    switch (color_type) {
    case PNG_COLOR_TYPE_GRAY_ALPHA: return 2;
    case PNG_COLOR_TYPE_RGB: return 3;
    case PNG_COLOR_TYPE_RGB_ALPHA: return 4;
    default: return 1;
    }
}

}  // namespace

void write_png(const std::string& path, const png_layout& layout, const byte_rows& rows)
{
    byte_rows data = rows;
    if (data.empty()) {
        const std::size_t row_bytes =
            (std::size_t{layout.width} * layout.bit_depth * channels_of(layout.color_type) + 7) / 8;
        for (uint32_t y = 0; y < layout.height; ++y) {
            std::vector<uint8_t> row(row_bytes);
            for (std::size_t x = 0; x < row_bytes; ++x) {
                row[x] = static_cast<uint8_t>(x + y);
            }
            data.push_back(std::move(row));
        }
    }
    std::vector<png_bytep> pointers;
    for (auto& row : data) {
        pointers.push_back(row.data());
    }
    std::FILE* file = std::fopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr) << path;
    const bool ok = write_png_file(file, layout, pointers.data());
    ASSERT_EQ(std::fclose(file), 0);
    ASSERT_TRUE(ok) << "libpng could not write " << path;
}

std::vector<uint8_t> read_file(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void write_file(const std::string& path, const std::vector<uint8_t>& bytes)
{
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

terminal_view replay(const std::string& output)
{
    terminal_view line;
    terminal_view finished;
    std::size_t column = 0;
    for (char c : output) {
        if (c == '\r') {
            column = 0;
        } else if (c == '\n') {
            finished = line;
            line = terminal_view{};
            column = 0;
        } else {
            if (column < line.last_line.size()) {
                line.last_line[column] = c;
            } else {
                line.last_line.push_back(c);
            }
            ++column;
            line.widest = std::max(line.widest, line.last_line.size());
        }
    }
    return line.last_line.empty() ? finished : line;
}

void converter_test::SetUp()
{
    reset_conv_diagnostics();
    conv_diag.stream = std::tmpfile();
    ASSERT_NE(conv_diag.stream, nullptr);
}

void converter_test::TearDown()
{
    std::fclose(conv_diag.stream);
    reset_conv_diagnostics();
}

std::string converter_test::output()
{
    std::FILE* stream = conv_diag.stream;
    std::fflush(stream);
    const long end = std::ftell(stream);
    std::string text(static_cast<std::size_t>(end > 0 ? end : 0), '\0');
    std::rewind(stream);
    const std::size_t got = std::fread(text.data(), 1, text.size(), stream);
    text.resize(got);
    std::fseek(stream, 0, SEEK_END);
    return text;
}
