/* tessel.dll against tessel.exe, for scripts/bench.sh --wine:
 *   dll_bench.exe DLL N EXE LINE
 * loads DLL once and makes N symbols with tessel_run(LINE), then starts N
 * processes of EXE with LINE, each waited for, as a Windows program that
 * uses tessel.exe does; prints "dll MS" and "exe MS", milliseconds a symbol. */
#include <windows.h>

#include <stdio.h>
#include <stdlib.h>

#include "tessel.h"

typedef int(TESSEL_CALL *run_fn)(const char *);

static void fail(const char *what)
{
    fprintf(stderr, "dll_bench: %s (error %lu)\n", what, (unsigned long)GetLastError());
    exit(2);
}

static double milliseconds_since(LARGE_INTEGER start)
{
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * (double)(now.QuadPart - start.QuadPart) / (double)frequency.QuadPart;
}

static void start_and_wait(const char *exe, const char *command_line)
{
    static char process_line[40000];
    STARTUPINFOA startup = {0};
    PROCESS_INFORMATION process;
    DWORD code = 1;
    int attempt;
    startup.cb = sizeof startup;
    /* Under load, wine now and then fails a start with ERROR_INTERNAL_ERROR
     * before the program runs; tried again. */
    for (attempt = 1;; ++attempt) {
        snprintf(process_line, sizeof process_line, "\"%s\" %s", exe, command_line);
        if (CreateProcessA(NULL, process_line, NULL, NULL, FALSE, 0, NULL, NULL, &startup,
                           &process))
            break;
        if (GetLastError() != ERROR_INTERNAL_ERROR || attempt == 5)
            fail("CreateProcess failed");
    }
    WaitForSingleObject(process.hProcess, INFINITE);
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    if (code != 0)
        fail("a tessel.exe process failed");
}

int main(int argc, char **argv)
{
    HMODULE library;
    run_fn run;
    LARGE_INTEGER start;
    int i, count;
    if (argc != 5 || (count = atoi(argv[2])) < 1) {
        fputs("usage: dll_bench.exe DLL N EXE LINE\n", stderr);
        return 2;
    }
    library = LoadLibraryA(argv[1]);
    if (library == NULL)
        fail("LoadLibrary failed");
    run = (run_fn)(void (*)(void))GetProcAddress(library, "tessel_run");
    if (run == NULL)
        fail("no tessel_run");

    QueryPerformanceCounter(&start);
    for (i = 0; i < count; ++i)
        if (run(argv[4]) != 0)
            fail("a call failed");
    printf("dll %.3f\n", milliseconds_since(start) / count);

    QueryPerformanceCounter(&start);
    for (i = 0; i < count; ++i)
        start_and_wait(argv[3], argv[4]);
    printf("exe %.3f\n", milliseconds_since(start) / count);
    FreeLibrary(library);
    return 0;
}
