// Test helper for the Windows programs under wine. Starting a program from
// Linux lets wine rebuild its command line from argv and reports the exit
// code modulo 256; this helper passes a command line byte for byte and
// prints the exit code whole.
//
//   run_child.exe FILE        runs the command line held in FILE (program name
//                             first), with this helper's standard handles, and
//                             prints its exit code in decimal
//   run_child.exe --wide FILE the same with FILE read as UTF-8 and the child
//                             started by CreateProcessW, so that characters
//                             outside the ANSI code page reach it as they are
//   run_child.exe --temp-path prints GetTempPathA's folder
//   run_child.exe --message N prints FormatMessageA's text for error N, with
//                             its closing line break cut off
//   run_child.exe --locked LOG FILE  runs FILE's command line as above while
//                             holding the lock byte of the run log LOG for a
//                             second, and prints "waited" when the child was
//                             still running then, else "ran through"
// Exit status 0 when it did its work, 2 when it could not.
#include <windows.h>

#include <cstdio>
#include <fcntl.h>
#include <io.h>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

int run(const char* path, bool wide)
{
    std::FILE* file = std::fopen(path, "rb");
    if (file == nullptr) {
        std::fprintf(stderr, "run_child: cannot read %s\n", path);
        return 2;
    }
    std::string command_line;
    char chunk[4096];
    std::size_t n;
    while ((n = std::fread(chunk, 1, sizeof chunk, file)) > 0)
        command_line.append(chunk, n);
    std::fclose(file);

    // Every child is started by CreateProcessW; bytes are read in the ANSI
    // code page first, as CreateProcessA would read them.
    const UINT code_page = wide ? CP_UTF8 : CP_ACP;
    const int size = MultiByteToWideChar(code_page, 0, command_line.data(),
                                         static_cast<int>(command_line.size()), nullptr, 0);
    std::wstring wide_line(static_cast<std::size_t>(size), L'\0');
    MultiByteToWideChar(code_page, 0, command_line.data(), static_cast<int>(command_line.size()),
                        wide_line.data(), size);

    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    // A GUI-subsystem child gets no console; handing it these handles is the
    // only way its standard error (the converter's messages) can be seen.
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION process{};
    // CreateProcessW may write into the command line, so it gets a copy.
    // Under load, wine now and then fails a start with ERROR_INTERNAL_ERROR
    // before the program runs at all; only that failure is tried again.
    for (int attempt = 1;; ++attempt) {
        std::wstring copy = wide_line;
        if (CreateProcessW(nullptr, copy.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                           &startup, &process))
            break;
        const DWORD error = GetLastError();
        if (error != ERROR_INTERNAL_ERROR || attempt == 5) {
            std::fprintf(stderr, "run_child: CreateProcessW failed, error %lu\n", error);
            return 2;
        }
        Sleep(500);
    }
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = 0;
    const BOOL got = GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    if (!got)
        return 2;
    std::printf("%lu\n", code);
    return 0;
}

DWORD WINAPI run_thread(void* path)
{
    return static_cast<DWORD>(run(static_cast<const char*>(path), false));
}

// The lock byte of the run log, as platform/win32/platform_win32.cpp takes it.
int run_locked(const char* log, const char* path)
{
    const HANDLE file = CreateFileA(log, GENERIC_READ | GENERIC_WRITE,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    OVERLAPPED at{};
    at.OffsetHigh = 0x40000000;
    if (file == INVALID_HANDLE_VALUE || !LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK, 0, 1, 0, &at))
        return 2;
    const HANDLE thread = CreateThread(nullptr, 0, run_thread, const_cast<char*>(path), 0, nullptr);
    const bool waited = thread != nullptr && WaitForSingleObject(thread, 1000) == WAIT_TIMEOUT;
    UnlockFileEx(file, 0, 1, 0, &at);
    if (thread != nullptr)
        WaitForSingleObject(thread, INFINITE);
    std::printf("%s\n", waited ? "waited" : "ran through");
    return thread != nullptr ? 0 : 2;
}

int temp_path()
{
    char dir[MAX_PATH + 1];
    const DWORD length = GetTempPathA(sizeof dir, dir);
    if (length == 0 || length >= sizeof dir)
        return 2;
    std::printf("%s\n", dir);
    return 0;
}

int message(const char* code)
{
    char* text = nullptr;
    const DWORD length = FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
            FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, static_cast<DWORD>(std::strtoul(code, nullptr, 10)), 0,
        reinterpret_cast<char*>(&text), 0, nullptr);
    if (length == 0)
        return 2;
    std::string s(text, length);
    LocalFree(text);
    while (!s.empty() && (s.back() == '\r' || s.back() == '\n'))
        s.pop_back();
    // Binary mode: line breaks inside the text must reach the test as
    // Windows gave them, not doubled into CR CR LF.
    _setmode(_fileno(stdout), _O_BINARY);
    std::fwrite(s.data(), 1, s.size(), stdout);
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc == 2 && std::strcmp(argv[1], "--temp-path") == 0)
        return temp_path();
    if (argc == 3 && std::strcmp(argv[1], "--message") == 0)
        return message(argv[2]);
    if (argc == 4 && std::strcmp(argv[1], "--locked") == 0)
        return run_locked(argv[2], argv[3]);
    if (argc == 2)
        return run(argv[1], false);
    if (argc == 3 && std::strcmp(argv[1], "--wide") == 0)
        return run(argv[2], true);
    std::fputs("usage: run_child.exe [--wide] FILE | --temp-path | --message N\n", stderr);
    return 2;
}
