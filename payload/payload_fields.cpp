#include "payload/payload_fields.h"

#include "settings/exit_codes.h"
#include "runlog/log_message.h"

#include <algorithm>

std::string_view payload_fields::value(std::string_view name) const
{
    const auto found =
        std::find_if(items.begin(), items.end(), [&](const payload_field& field) { return field.name == name; });
    return found != items.end() ? found->value : std::string_view{};
}

int split_payload_fields(std::string_view data, payload_fields* out)
{
    out->items.clear();
    while (!data.empty()) {
        const std::size_t end = data.find('\n');
        const std::string_view line = data.substr(0, end);
        data = end == std::string_view::npos ? std::string_view{} : data.substr(end + 1);
        if (line.empty())
            continue;
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos) {
            // The message buffer cuts it anyway; the bound keeps the int cast exact.
            const std::size_t shown = std::min(line.size(), message_buffer_size);
            log_message("L\xEDnea sin '=' en los campos: %.*s", static_cast<int>(shown), line.data());
            return result_bad_command;
        }
        out->items.push_back({line.substr(0, equals), line.substr(equals + 1)});
    }
    return result_ok;
}
