#include "frontend/symbol_output.h"

#include "frontend/payload_input.h"
#include "frontend/symbol_files.h"
#include "runlog/log_message.h"
#include "runlog/run_log.h"
#include "settings/exit_codes.h"
#include "settings/run_settings.h"

#include <cstdio>
#include <memory>
#include <string_view>

int eci_designator(const char* data, std::size_t size)
{
    const run_settings_t& s = run_settings;
    if (s.eci >= 0)
        return s.eci;
    if (s.eci == eci_none || s.utf8 == 0)
        return -1;
    for (std::size_t i = 0; i < size; ++i) {
        if (static_cast<unsigned char>(data[i]) > 0x7F)
            return 26;
    }
    return -1;
}

namespace {

// One symbol that begins with the designator, the data after it in 8-bit
// mode: a reader applies the designator to the bytes that follow it.
QRcode* encode_with_eci(const char* data, std::size_t size, int eci)
{
    const run_settings_t& s = run_settings;
    QRinput* input = QRinput_new2(s.version, static_cast<QRecLevel>(s.level));
    if (input == nullptr)
        return nullptr;
    QRcode* symbol = nullptr;
    if (QRinput_appendECIheader(input, static_cast<unsigned>(eci)) == 0 &&
        QRinput_append(input, QR_MODE_8, static_cast<int>(size),
                       reinterpret_cast<const unsigned char*>(data)) == 0)
        symbol = QRcode_encodeInput(input);
    QRinput_free(input);
    return symbol;
}

}  // namespace

QRcode* encode_single(const char* data, std::size_t size)
{
    const run_settings_t& s = run_settings;
    if (size > max_encodable_bytes)
        return nullptr;
    const int eci = eci_designator(data, size);
    if (eci >= 0)
        return encode_with_eci(data, size, eci);
    // The length-taking call keeps a NUL byte; for NUL-free data it is the
    // same encoding as the string form.
    if (s.eight_bit != 0)
        return QRcode_encodeData(static_cast<int>(size), reinterpret_cast<const unsigned char*>(data),
                                 s.version, static_cast<QRecLevel>(s.level));
    return QRcode_encodeString(data, s.version, static_cast<QRecLevel>(s.level),
                               static_cast<QRencodeMode>(s.hint), s.case_sensitive);
}

QRcode_List* encode_structured(const char* data, std::size_t size)
{
    const run_settings_t& s = run_settings;
    if (size > max_encodable_bytes)
        return nullptr;
    if (s.eight_bit != 0)
        return QRcode_encodeDataStructured(static_cast<int>(size),
                                           reinterpret_cast<const unsigned char*>(data), s.version,
                                           static_cast<QRecLevel>(s.level));
    return QRcode_encodeStringStructured(data, s.version, static_cast<QRecLevel>(s.level),
                                         static_cast<QRencodeMode>(s.hint), s.case_sensitive);
}

namespace {

// The encoder's symbol, or nullptr after logging the refusal.
QRcode* encode_logged(const char* data, std::size_t size)
{
    QRcode* symbol = encode_single(data, size);
    if (symbol == nullptr)
        log_line(run_log, "Error al codificar dato de entrada");
    return within_payload_version(symbol);
}

// -t txt: the bytes themselves, to file_name.
int put_text(const char* data, std::size_t size, const char* file_name)
{
    return write_image_file(file_name, std::vector<unsigned char>(data, data + size));
}

}  // namespace

int write_single(const char* data, std::size_t size, const char* file_name, const char* temp_name)
{
    QRcode* symbol = encode_logged(data, size);
    if (symbol == nullptr)
        return result_encode_refused;
    if (run_settings.image_type == image_txt) {
        QRcode_free(symbol);
        return put_text(data, size, file_name);
    }
    const int result = write_symbol_file(symbol, file_name, temp_name);
    QRcode_free(symbol);
    return result;
}

int make_single_image(const char* data, std::size_t size, std::vector<unsigned char>* out)
{
    out->clear();
    QRcode* symbol = encode_logged(data, size);
    if (symbol == nullptr)
        return result_encode_refused;
    if (run_settings.image_type == image_txt) {
        QRcode_free(symbol);
        out->assign(data, data + size);
        return result_ok;
    }
    const int result = make_symbol_image(symbol, out);
    QRcode_free(symbol);
    return result;
}

int make_single_modules(const char* data, std::size_t size, std::vector<unsigned char>* out,
                        int* side)
{
    out->clear();
    *side = 0;
    QRcode* symbol = encode_logged(data, size);
    if (symbol == nullptr)
        return result_encode_refused;
    // Freed however this ends: the copy may run out of memory.
    const std::unique_ptr<QRcode, void (*)(QRcode*)> held(symbol, QRcode_free);
    const auto count = static_cast<std::size_t>(symbol->width) * static_cast<std::size_t>(symbol->width);
    out->resize(count);
    for (std::size_t i = 0; i < count; ++i)
        (*out)[i] = static_cast<unsigned char>(symbol->data[i] & 1);
    *side = symbol->width;
    return result_ok;
}

namespace {

bool ends_with_ignoring_case(std::string_view text, std::string_view tail)
{
    if (text.size() < tail.size())
        return false;
    const std::string_view end = text.substr(text.size() - tail.size());
    for (std::size_t i = 0; i < tail.size(); ++i) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
        if (lower(end[i]) != lower(tail[i]))
            return false;
    }
    return true;
}

}  // namespace

bool format_series_name(char* out, std::size_t out_size, const char* file_name,
                        const char* suffix, int counter)
{
    std::string_view stem(file_name);
    std::string_view kept_suffix;
    const std::string_view wanted(suffix);
    if (stem.size() > wanted.size() && ends_with_ignoring_case(stem, wanted)) {
        kept_suffix = stem.substr(stem.size() - wanted.size());
        stem.remove_suffix(wanted.size());
    }
    const int n = std::snprintf(out, out_size, "%.*s-%02d%.*s", static_cast<int>(stem.size()),
                                stem.data(), counter, static_cast<int>(kept_suffix.size()),
                                kept_suffix.data());
    if (n < 0 || static_cast<std::size_t>(n) >= out_size) {
        if (out_size > 0)
            out[0] = '\0';
        return false;
    }
    return true;
}

int write_structured(const char* data, std::size_t size, const char* file_name,
                     const char* temp_name)
{
    QRcode_List* list = encode_structured(data, size);
    if (list == nullptr) {
        log_line(run_log, "Error al codificar dato de entrada");
        return result_encode_refused;
    }
    // The text of a series is the data the whole series holds: one file.
    if (run_settings.image_type == image_txt) {
        QRcode_List_free(list);
        return put_text(data, size, file_name);
    }
    const char* suffix = image_suffix();
    char name[260];
    int result = result_ok;
    int counter = 1;
    for (const QRcode_List* node = list; node != nullptr; node = node->next, ++counter) {
        if (node->code == nullptr) {
            log_line(run_log, "Error al codificar dato de entrada");
            if (result == result_ok)
                result = result_encode_refused;
            break;
        }
        // Every name of the series has the same length, so one that does not
        // fit means none does.
        if (!format_series_name(name, sizeof name, file_name, suffix, counter)) {
            log_message("Nombre de archivo demasiado largo: %s", file_name);
            if (result == result_ok)
                result = result_cannot_create;
            break;
        }
        const int written = write_symbol_file(node->code, name, temp_name);
        if (written != result_ok && result == result_ok)
            result = written;
        // A printed size that one member does not fit, none does: every
        // member has the same width.
        if (written == result_bad_command)
            break;
    }
    QRcode_List_free(list);
    return result;
}
