// tessel-batch [FILE]: runs every command line of FILE (or of standard input
// when FILE is absent or "-") as one tessel run, in this one process. Prints
// "<line number>\t<exit code>\n" on standard output for each command line;
// blank lines are skipped. Exit status 0 when every line succeeded, else the
// code of the first failure. Standard error carries the converter's status
// lines of BMP runs, a progress line when it is a terminal, and real errors.
// "/?", "-h" or "--help" alone prints the usage text on standard output.
#include "batch/line_reader.h"
#include "batch/progress.h"
#include "frontend/entry.h"
#include "frontend/exit_codes.h"
#include "platform/platform.h"
#include "util/help_request.h"
#include "runlog/run_log.h"

#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

namespace {

constexpr const char* usage_text =
    "Usage: tessel-batch [FILE]\n"
    "\n"
    "Runs many Tessel command lines in one process, one line after the other.\n"
    "Each line of FILE is what would follow \"tessel.exe\" on a command line, for\n"
    "example:  -o ticket-0001.png https://example.com/t/0001\n"
    "Each line makes the same files and Tessel.log lines as its own tessel.exe\n"
    "run; blank lines are skipped, and a line that fails does not stop the rest.\n"
    "\n"
    "FILE  a text file saved as ANSI or UTF-8. It is read as UTF-8 when it\n"
    "      begins with a UTF-8 byte-order mark, or else when its first line\n"
    "      holding a character beyond ASCII is valid UTF-8; otherwise as ANSI.\n"
    "      The data is encoded as the bytes in the file, but with -u (text in\n"
    "      UTF-8) an ANSI line's data is converted to UTF-8. On Windows, an output\n"
    "      name in UTF-8 is opened as written; a line whose name has a\n"
    "      character the ANSI code page lacks fails with 1105.\n"
    "      A UTF-16 (\"Unicode\") file is refused and nothing is run.\n"
    "      Without FILE, or with -, the lines are read from standard input;\n"
    "      typed at the console, end them with Ctrl-Z and Enter on a line of\n"
    "      its own (Ctrl-D on a POSIX terminal). Lines typed at a Windows\n"
    "      console are converted as tessel.exe's command line is.\n"
    "\n"
    "Output: one line on standard output for each command line run, as soon as\n"
    "it has run: the line's number in the input, a tab, and its exit code: 0\n"
    "when its files were written, 1101 to 1106 when it failed (the reason is in\n"
    "Tessel.log in the current folder).\n"
    "\n"
    "Exit status: 0 when every line succeeded, else the exit code of the first\n"
    "line that failed; 1105 when FILE cannot be opened or read, with a message\n"
    "on standard error.\n"
    "\n"
    "tessel-batch /? (or -h, --help) shows this text.\n";

struct file_closer {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

// Reason text of the last system error, without the line break that some
// platforms end it with.
std::string error_reason()
{
    std::string text = system_error_text(last_system_error());
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
        text.pop_back();
    return text;
}

// A line tessel-batch itself refuses: logged as a run of tessel would log a
// bad command line, and failed with the same code.
int refuse_line(const char* message)
{
    if (run_log == nullptr)
        open_run_log();
    log_line(run_log, message);
    return result_bad_command;
}

// The converter writes its status lines to the same terminal as the progress
// line; only a BMP run converts, and its command line holds "bmp" in some case.
bool may_convert(std::string_view line)
{
    for (std::size_t i = 0; i + 3 <= line.size(); ++i) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
        if (lower(line[i]) == 'b' && lower(line[i + 1]) == 'm' && lower(line[i + 2]) == 'p')
            return true;
    }
    return false;
}

// One command line as tessel.exe would run it. A typed line is read as
// Windows' own command line is: in the code page, but its data in UTF-8
// when the line asks for text (-u).
int run_line(const char* line, text_encoding encoding)
{
    if (encoding == text_encoding::utf8)
        return tessel_main(line, name_text::utf8);
    if (encoding != text_encoding::wide)
        return tessel_main(line, name_text::native, line_text::ansi);
    if (command_line_asks_for_text(line))
        return tessel_main(line, name_text::native, line_text::utf8);
    std::string ansi;
    switch (file_name_from_utf8(line, &ansi)) {
    case ansi_conversion::exact:
        break;
    case ansi_conversion::not_representable:
        return tessel_refuse_command_line(command_line_refusal::not_representable);
    case ansi_conversion::no_memory:
        return tessel_refuse_command_line(command_line_refusal::no_memory);
    }
    return tessel_main(ansi.c_str(), name_text::native, line_text::ansi);
}

struct batch_run {
    line_reader reader;
    progress_line progress;
    bool results_on_terminal;
    int first_failure;
};

void note_result(batch_run* run, long number, int code)
{
    if (run->results_on_terminal)
        hide_progress(&run->progress);
    std::printf("%ld\t%d\n", number, code);
    // A program that feeds lines one at a time waits for each result; a pipe
    // would otherwise hold them back until its buffer fills.
    std::fflush(stdout);
    count_progress(&run->progress, code);
    if (code != result_ok && run->first_failure == result_ok)
        run->first_failure = code;
}

// Runs every line of the input; returns how the input ended: end,
// read_error, or utf16 (then nothing was run).
line_status run_lines(batch_run* run)
{
    line_reader& reader = run->reader;
    for (;;) {
        const line_status status = read_line(&reader);
        int code = result_ok;
        switch (status) {
        case line_status::end:
        case line_status::read_error:
        case line_status::utf16:
            return status;
        case line_status::too_long:
            code = refuse_line("L\xEDnea demasiado larga: m\xE1ximo 32767 caracteres");
            break;
        case line_status::nul_byte:
            code = refuse_line("L\xEDnea con un car\xE1" "cter nulo");
            break;
        // Typed lines fail as tessel.exe fails such a command line.
        case line_status::not_representable:
            code = tessel_refuse_command_line(command_line_refusal::not_representable);
            break;
        case line_status::no_memory:
            code = tessel_refuse_command_line(command_line_refusal::no_memory);
            break;
        case line_status::line: {
            if (is_blank_line(reader))
                continue;
            // Windows' start-up code drops the blanks and tabs between the
            // program name and the command line that tessel receives.
            const std::string_view line(reader.text, reader.length);
            const std::size_t start = line.find_first_not_of(" \t");
            if (may_convert(line))
                hide_progress(&run->progress);
            code = run_line(reader.text + start, reader.encoding);
            break;
        }
        }
        note_result(run, reader.number, code);
    }
}

}  // namespace

int main(int argc, char** argv)
{
    if (asks_for_usage(argc, argv)) {
        std::fputs(usage_text, stdout);
        return 0;
    }
    if (!check_arguments_exact("tessel-batch"))
        return result_bad_command;
    const std::string_view name = argc >= 2 ? std::string_view(argv[1]) : std::string_view("-");
    if (argc > 2 || (name.size() > 1 && name.front() == '-')) {
        std::fputs("usage: tessel-batch [FILE]   (no FILE or \"-\": standard input)\n", stderr);
        return result_bad_command;
    }
    std::unique_ptr<std::FILE, file_closer> opened;
    std::FILE* input = stdin;
    if (name == "-") {
        set_binary_stream(stdin);
    } else {
        opened.reset(std::fopen(argv[1], "rb"));
        if (opened == nullptr) {
            std::fprintf(stderr, "tessel-batch: cannot open %s: %s\n", argv[1], error_reason().c_str());
            return result_bad_command;
        }
        input = opened.get();
    }

    // Every line frees what it took (some 300 KiB of compressor state for a
    // small symbol); without this the heap would hand that back to the system
    // and take it again, line after line.
    keep_freed_memory();

    // Static: the reader's line buffer is 32 KiB. Standard output holds
    // nothing but the results, as the runs themselves never write to it.
    static batch_run run{};
    start_line_reader(&run.reader, input, stream_is_terminal(input));
    start_progress(&run.progress, stderr, stream_is_terminal(stderr));
    run.results_on_terminal = stream_is_terminal(stdout);
    run.first_failure = result_ok;

    const line_status ended = run_lines(&run);
    hide_progress(&run.progress);
    int status = run.first_failure;
    const char* input_name = input == stdin ? "standard input" : argv[1];
    if (ended == line_status::utf16) {
        std::fprintf(stderr, "tessel-batch: %s is UTF-16 (\"Unicode\") text, nothing was run: "
                     "save the file as ANSI or UTF-8\n", input_name);
        status = result_bad_command;
    }
    if (ended == line_status::read_error) {
        std::fprintf(stderr, "tessel-batch: cannot read %s: %s\n", input_name, error_reason().c_str());
        if (status == result_ok)
            status = result_bad_command;
    }
    if (std::fflush(stdout) != 0 || std::ferror(stdout) != 0) {
        std::fprintf(stderr, "tessel-batch: cannot write the results: %s\n", error_reason().c_str());
        if (status == result_ok)
            status = result_cannot_create;
    }
    return status;
}
