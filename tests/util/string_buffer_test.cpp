#include "util/string_buffer.h"

#include <gtest/gtest.h>
#include <memory>
#include <string>

namespace {

struct buffer_deleter {
    void operator()(string_buffer* b) const { free_buffer(b); }
};
using buffer_ptr = std::unique_ptr<string_buffer, buffer_deleter>;

TEST(StringBuffer, GrowsInStepsOf128FromTheCapacityItHad)
{
    const std::pair<std::size_t, int> cases[] = {{0, 128}, {127, 128}, {128, 256}, {255, 256}, {256, 384}};
    for (const auto& [length, capacity] : cases) {
        const std::string text(length, 'a');
        buffer_ptr b(buffer_from_text(text.c_str()));
        ASSERT_NE(b, nullptr);
        EXPECT_EQ(b->capacity, capacity) << length;
        EXPECT_EQ(b->length, static_cast<int>(length));
        EXPECT_EQ(std::string(b->text), text);
    }

    buffer_ptr b(buffer_from_text(std::string(100, 'x').c_str()));
    string_buffer* raw = b.get();
    char* area = raw->text;
    ASSERT_EQ(append_text(&raw, std::string(27, 'y').c_str()), 1);
    EXPECT_EQ(raw->text, area) << "127 characters still fit 128 bytes";
    ASSERT_EQ(append_text(&raw, "z"), 1);
    EXPECT_EQ(raw->capacity, 256);
    EXPECT_EQ(std::string(raw->text), std::string(100, 'x') + std::string(27, 'y') + "z");

    buffer_ptr sized(new_buffer_sized(10));
    raw = sized.get();
    ASSERT_EQ(set_text(raw, "abc"), 1);
    ASSERT_EQ(append_text(&raw, std::string(10, 'q').c_str()), 1);
    EXPECT_EQ(raw->capacity, 138);
    EXPECT_EQ(raw->length, 13);
}

TEST(StringBuffer, SetTextReplacesAndRefusesWhatDoesNotFit)
{
    EXPECT_EQ(set_text(nullptr, "a"), 0);
    buffer_ptr b(new_buffer_sized(4));
    ASSERT_EQ(set_text(b.get(), "abc"), 1);
    EXPECT_EQ(set_text(b.get(), "abcd"), 0);
    EXPECT_STREQ(b->text, "abc");
    ASSERT_EQ(set_text(b.get(), "z"), 1);
    EXPECT_STREQ(b->text, "z");
    EXPECT_EQ(b->length, 1);
    buffer_ptr one(new_buffer_sized(1));
    ASSERT_NE(one, nullptr);
    EXPECT_EQ(set_text(one.get(), ""), 1);

    string_buffer* empty = nullptr;
    ASSERT_EQ(append_text(&empty, ""), 1);
    EXPECT_EQ(empty->capacity, 128);
    EXPECT_STREQ(empty->text, "");
    free_buffer(empty);
    free_buffer(new_buffer());
    free_buffer(nullptr);
}

}  // namespace

// The allocation after this many more fails, once; -1: none fails.
int allocations_left = -1;

// Out of memory on demand, through glibc's malloc (AddressSanitizer's is left alone).
#if defined(__GLIBC__) && !defined(__SANITIZE_ADDRESS__)
extern "C" void* __libc_malloc(std::size_t size);
extern "C" void* malloc(std::size_t size) noexcept
{
    if (allocations_left == 0) {
        allocations_left = -1;
        return nullptr;
    }
    if (allocations_left > 0)
        --allocations_left;
    return __libc_malloc(size);
}
#endif

TEST(StringBuffer, AFailedAllocationFailsTheCallAndLeavesNothing)
{
#if !defined(__GLIBC__) || defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "no malloc of glibc's to fail on demand";
#endif
    for (const int before : {0, 1}) {
        string_buffer* none = nullptr;
        allocations_left = before;
        EXPECT_EQ(append_text(&none, "abc"), 0) << before;
        EXPECT_EQ(none == nullptr, before == 0) << before;
        free_buffer(none);
        allocations_left = before;
        EXPECT_EQ(new_buffer_sized(10), nullptr) << before;
    }
    allocations_left = -1;
}
