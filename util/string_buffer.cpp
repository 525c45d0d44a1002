#include "util/string_buffer.h"

#include <cstdlib>
#include <cstring>

string_buffer* new_buffer()
{
    auto* buffer = static_cast<string_buffer*>(std::malloc(sizeof(string_buffer)));
    if (buffer == nullptr)
        return nullptr;
    buffer->capacity = 0;
    buffer->length = 0;
    buffer->text = nullptr;
    return buffer;
}

string_buffer* new_buffer_sized(int32_t n)
{
    string_buffer* buffer = new_buffer();
    if (buffer == nullptr)
        return nullptr;
    if (n > 0)
        buffer->text = static_cast<char*>(std::malloc(static_cast<std::size_t>(n)));
    if (buffer->text == nullptr) {
        free_buffer(buffer);
        return nullptr;
    }
    buffer->capacity = n;
    return buffer;
}

string_buffer* buffer_from_text(const char* s)
{
    string_buffer* buffer = nullptr;
    if (append_text(&buffer, s) == 0) {
        free_buffer(buffer);
        return nullptr;
    }
    return buffer;
}

int append_text(string_buffer** holder, const char* s)
{
    const std::size_t n = std::strlen(s);
    if (*holder == nullptr) {
        *holder = new_buffer();
        if (*holder == nullptr)
            return 0;
    }
    string_buffer* buffer = *holder;
    // The text plus its NUL must stay within INT32_MAX, and so must the
    // capacity after rounding up to the next step.
    const int64_t needed = static_cast<int64_t>(buffer->length) + static_cast<int64_t>(n);
    if (needed >= INT32_MAX - buffer_step)
        return 0;
    int64_t m = buffer->capacity;
    if (m <= needed)
        m += ((needed - m) / buffer_step + 1) * buffer_step;
    if (m > buffer->capacity) {
        auto* area = static_cast<char*>(std::malloc(static_cast<std::size_t>(m)));
        if (area == nullptr)
            return 0;
        if (buffer->text != nullptr) {
            std::memcpy(area, buffer->text, static_cast<std::size_t>(buffer->length));
            std::free(buffer->text);
        }
        buffer->text = area;
        buffer->capacity = static_cast<int32_t>(m);
    }
    // A buffer with capacity has its text area, so text is set here.
    // NOLINTNEXTLINE(clang-analyzer-core.NonNullParamChecker)
    std::memcpy(buffer->text + buffer->length, s, n);
    buffer->text[needed] = '\0';
    buffer->length = static_cast<int32_t>(needed);
    return 1;
}

int set_text(string_buffer* buffer, const char* s)
{
    if (buffer == nullptr)
        return 0;
    const std::size_t n = std::strlen(s);
    // Never grows: a text that does not fit is refused rather than overrun.
    if (buffer->text == nullptr || n >= static_cast<std::size_t>(buffer->capacity))
        return 0;
    std::memcpy(buffer->text, s, n + 1);
    buffer->length = static_cast<int32_t>(n);
    return 1;
}

void free_buffer(string_buffer* buffer)
{
    if (buffer == nullptr)
        return;
    std::free(buffer->text);
    std::free(buffer);
}
