#include "util/byte_sink.h"

#include <new>
#include <stdexcept>

byte_sink file_sink(std::FILE* file)
{
    return byte_sink{file, nullptr, false};
}

byte_sink memory_sink(std::vector<unsigned char>* out)
{
    return byte_sink{nullptr, out, false};
}

bool sink_write(byte_sink* sink, const void* bytes, std::size_t size) noexcept
{
    if (size == 0)
        return true;
    if (sink->file != nullptr)
        return std::fwrite(bytes, size, 1, sink->file) == 1;
    const auto* first = static_cast<const unsigned char*>(bytes);
    try {
        sink->memory->insert(sink->memory->end(), first, first + size);
    } catch (const std::bad_alloc&) {
        sink->out_of_memory = true;
        return false;
    } catch (const std::length_error&) {
        sink->out_of_memory = true;
        return false;
    }
    return true;
}
