#include "frontend/tokenizer.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string_view>

char** alloc_token_array(int count, std::size_t size)
{
    if (count <= 0)
        return nullptr;
    auto** array = static_cast<char**>(std::calloc(static_cast<std::size_t>(count), sizeof(char*)));
    if (array == nullptr)
        return nullptr;
    for (int i = 0; i < count; ++i) {
        array[i] = static_cast<char*>(std::malloc(size));
        if (array[i] == nullptr) {
            free_token_array(array, count);
            return nullptr;
        }
    }
    return array;
}

void free_token_array(char** array, int count)
{
    if (array == nullptr)
        return;
    for (int i = 0; i < count; ++i) {
        std::free(array[i]);
        array[i] = nullptr;
    }
    std::free(array);
}

namespace {

// Makes slot hold n characters and their NUL. The old slot is kept until its
// replacement exists, so a failure leaves the array as it was.
bool make_room(char** slot, std::size_t n)
{
    if (n < token_size)
        return true;
    auto* area = static_cast<char*>(std::malloc(n + 1));
    if (area == nullptr)
        return false;
    std::free(*slot);
    *slot = area;
    return true;
}

}  // namespace

int split_command_line(const char* text, char** tokens, int max, split_status* status)
{
    split_status outcome = split_status::ok;
    const std::string_view line(text);
    const std::size_t len = line.size();
    std::size_t pos = 0;
    int count = 0;
    while (pos < len && count + 1 < max) {
        const std::size_t start = std::min(line.find_first_not_of(' ', pos), len);
        // The quote that opened the quoting, or 0. Only the same kind closes
        // it; inside, the other kind is an ordinary character, so an
        // apostrophe in "It's ok" does not split the token.
        char open_quote = 0;
        std::size_t end = start;
        for (; end < len; ++end) {
            const char c = line[end];
            if (c == ' ' && open_quote == 0)
                break;
            if (c == open_quote)
                open_quote = 0;
            else if (open_quote == 0 && (c == '"' || c == '\''))
                open_quote = c;
        }
        std::string_view token = line.substr(start, end - start);
        pos = end;
        if (token.empty())
            break;  // only spaces were left
        // A lone quote has no inside to keep; it is stored as it stands.
        if (token.size() >= 2 && (token.front() == '"' || token.front() == '\'') &&
            token.back() == token.front())
            token = token.substr(1, token.size() - 2);
        if (token.size() > max_token_length) {
            outcome = split_status::token_too_long;
            break;
        }
        if (!make_room(&tokens[count], token.size())) {
            outcome = split_status::no_memory;
            break;
        }
        std::memcpy(tokens[count], token.data(), token.size());
        tokens[count][token.size()] = '\0';
        ++count;
    }
    if (status != nullptr)
        *status = outcome;
    return count;
}
