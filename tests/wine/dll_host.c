/* Test host for tessel.dll under wine: a program of the kind that embeds the
 * library, which loads it with LoadLibrary and calls it through function
 * pointers found by their plain names, declared with tessel.h's TESSEL_CALL.
 *
 *   dll_host.exe DLL FILE    runs the calls listed in FILE, one a line, and
 *                            prints one line for each:
 *       run HEX              tessel_run(the bytes)
 *       encode HEX HEX HEX   tessel_encode(switches, output name, data, size)
 *       version              tessel_version()
 *       reload               FreeLibrary, check that the DLL is gone, load
 *                            it again and find the names again
 *   dll_host.exe DLL --wrong-convention
 *                            calls tessel_run through a __cdecl pointer
 *                            (32-bit): the stack check must report it
 *   dll_host.exe DLL --bench N EXE LINE
 *                            N calls of tessel_run(LINE), then N processes
 *                            of EXE with LINE; prints the milliseconds each
 * HEX is the bytes in hexadecimal, "=" for none, "-" for a null pointer
 * (whose size is 0). Exit status 0 when everything could be called, 2
 * otherwise; the results are the output.
 *
 * On 32-bit Windows each call is made between two readings of the stack
 * pointer: a pointer of the wrong convention leaves it moved (a __stdcall
 * function removes its arguments, a __cdecl caller removes them again), which
 * would otherwise pass unseen until locals are read through the wrong place. */
#include <windows.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "tessel.h"

typedef int(TESSEL_CALL *run_fn)(const char *);
typedef int(TESSEL_CALL *encode_fn)(const char *, const char *, const void *, size_t);
typedef const char *(TESSEL_CALL *version_fn)(void);

static HMODULE library;
static run_fn tessel_run_p;
static encode_fn tessel_encode_p;
static version_fn tessel_version_p;

static void fail(const char *what)
{
    fprintf(stderr, "dll_host: %s (error %lu)\n", what, (unsigned long)GetLastError());
    exit(2);
}

#if defined(__i386__)
#define STACK_MARK(where) __asm__ volatile("movl %%esp, %0" : "=r"(where))
#else
#define STACK_MARK(where) ((where) = 0)
#endif

static void check_stack(size_t before, size_t after, const char *name)
{
    if (before != after) {
        printf("stack moved by %ld in %s\n", (long)(after - before), name);
        exit(2);
    }
}

static void load(const char *path)
{
    library = LoadLibraryA(path);
    if (library == NULL)
        fail("LoadLibrary failed");
    /* The cast through FARPROC is how every GetProcAddress caller does it. */
    tessel_run_p = (run_fn)(void (*)(void))GetProcAddress(library, "tessel_run");
    tessel_encode_p = (encode_fn)(void (*)(void))GetProcAddress(library, "tessel_encode");
    tessel_version_p = (version_fn)(void (*)(void))GetProcAddress(library, "tessel_version");
    if (tessel_run_p == NULL || tessel_encode_p == NULL || tessel_version_p == NULL)
        fail("a name is not exported");
}

static void reload(const char *path)
{
    if (!FreeLibrary(library))
        fail("FreeLibrary failed");
    if (GetModuleHandleA(path) != NULL)
        fail("the DLL is still loaded after FreeLibrary");
    load(path);
}

/* Decodes hexadecimal in place; "-" is a null pointer, "=" no bytes. */
static char *unhex(char *text, size_t *size)
{
    size_t i, n = strlen(text);
    if (strcmp(text, "-") == 0)
        return NULL;
    if (strcmp(text, "=") == 0)
        n = 0;
    for (i = 0; i < n / 2; ++i) {
        unsigned byte;
        if (sscanf(text + 2 * i, "%2x", &byte) != 1)
            fail("bad hexadecimal in the call list");
        text[i] = (char)byte;
    }
    text[n / 2] = '\0';
    *size = n / 2;
    return text;
}

static void run_calls(const char *path, const char *list)
{
    static char line[200000];
    FILE *file = fopen(list, "rb");
    if (file == NULL)
        fail("cannot read the call list");
    while (fgets(line, sizeof line, file) != NULL) {
        char *words[4] = {NULL, NULL, NULL, NULL};
        size_t size = 0, before, after;
        int count = 0, code;
        char *word = strtok(line, " \r\n");
        for (; word != NULL && count < 4; word = strtok(NULL, " \r\n"))
            words[count++] = word;
        if (count == 0)
            continue;
        if (strcmp(words[0], "run") == 0 && count == 2) {
            const char *command_line = unhex(words[1], &size);
            STACK_MARK(before);
            code = tessel_run_p(command_line);
            STACK_MARK(after);
            check_stack(before, after, "tessel_run");
            printf("%d\n", code);
        } else if (strcmp(words[0], "encode") == 0 && count == 4) {
            const char *switches = unhex(words[1], &size);
            const char *name = unhex(words[2], &size);
            const char *data = unhex(words[3], &size);
            STACK_MARK(before);
            code = tessel_encode_p(switches, name, data, size);
            STACK_MARK(after);
            check_stack(before, after, "tessel_encode");
            printf("%d\n", code);
        } else if (strcmp(words[0], "version") == 0) {
            const char *version;
            STACK_MARK(before);
            version = tessel_version_p();
            STACK_MARK(after);
            check_stack(before, after, "tessel_version");
            printf("%s\n", version);
        } else if (strcmp(words[0], "reload") == 0) {
            reload(path);
            printf("reloaded\n");
        } else {
            fail("unknown call in the call list");
        }
        fflush(stdout);
    }
    fclose(file);
}

static void wrong_convention(void)
{
#if defined(__i386__)
    typedef int(__cdecl * cdecl_run_fn)(const char *);
    cdecl_run_fn wrong = (cdecl_run_fn)(void (*)(void))tessel_run_p;
    size_t before, after;
    STACK_MARK(before);
    wrong("-h");
    STACK_MARK(after);
    check_stack(before, after, "tessel_run through a __cdecl pointer");
#endif
    printf("stack unmoved\n");
}

static double milliseconds_since(LARGE_INTEGER start)
{
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * (double)(now.QuadPart - start.QuadPart) / (double)frequency.QuadPart;
}

static void bench(int count, const char *exe, const char *command_line)
{
    static char process_line[40000];
    LARGE_INTEGER start;
    int i;
    QueryPerformanceCounter(&start);
    for (i = 0; i < count; ++i)
        if (tessel_run_p(command_line) != 0)
            fail("a call in the benchmark failed");
    printf("dll %.3f ms\n", milliseconds_since(start) / count);

    QueryPerformanceCounter(&start);
    for (i = 0; i < count; ++i) {
        STARTUPINFOA startup;
        PROCESS_INFORMATION process;
        DWORD code = 1;
        memset(&startup, 0, sizeof startup);
        startup.cb = sizeof startup;
        int attempt = 1;
        /* Under load, wine now and then fails a start with
         * ERROR_INTERNAL_ERROR before the program runs; tried again. */
        for (;; ++attempt) {
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
            fail("a process in the benchmark failed");
    }
    printf("exe %.3f ms\n", milliseconds_since(start) / count);
}

int main(int argc, char **argv)
{
    if (argc < 3) {
        fputs("usage: dll_host.exe DLL FILE | --wrong-convention | --bench N EXE LINE\n",
              stderr);
        return 2;
    }
    load(argv[1]);
    if (strcmp(argv[2], "--wrong-convention") == 0)
        wrong_convention();
    else if (strcmp(argv[2], "--bench") == 0 && argc == 6)
        bench(atoi(argv[3]), argv[4], argv[5]);
    else
        run_calls(argv[1], argv[2]);
    if (!FreeLibrary(library))
        fail("FreeLibrary failed");
    return 0;
}
