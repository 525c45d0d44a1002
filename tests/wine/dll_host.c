/* Test host for tessel.dll under wine: a program of the kind that embeds the
 * library, which loads it with LoadLibrary and calls it through function
 * pointers found by their plain names, declared with tessel.h's TESSEL_CALL.
 *
 *   dll_host.exe DLL CALL...   makes the calls in order, printing one line
 *                              for each:
 *       run HEX                tessel_run(the bytes): its code
 *       encode HEX HEX HEX     tessel_encode(switches, output name, data,
 *                              size): its code
 *       image HEX HEX NAME     tessel_image(switches, data, size), the
 *                              image saved as the file NAME: its code and
 *                              its size
 *       modules HEX HEX        tessel_modules(switches, data, size): its
 *                              code, the side and the modules as 0s and 1s
 *       version                tessel_version()
 *       reload                 FreeLibrary, check that the DLL is gone, load
 *                              it again and find the names again: "reloaded"
 *       wrong-convention       tessel_run("-h") through a __cdecl pointer,
 *                              which the stack check must report (32-bit)
 *       threads N HEX CODE     8 threads make N tessel_run(the bytes) calls
 *                              each at once: how many did not return CODE,
 *                              and how many streams the DLL left open
 *       cycles N               N times reload and tessel_encode(NULL,
 *                              "c.png", "c", 1), after a few such cycles of
 *                              warm-up: "PRIVATE HANDLES", how much the
 *                              committed private memory (bytes) and the
 *                              handle count grew over the N cycles
 * HEX is bytes in hexadecimal, "=" for none, "-" for a null pointer (whose
 * size is 0). Exit status 0 when every call could be made, else 2.
 *
 * On 32-bit Windows each call is made between two readings of the stack
 * pointer: a pointer of the wrong convention leaves it moved (a __stdcall
 * function removes its arguments, a __cdecl caller removes them again), which
 * would otherwise pass unseen until locals are read through the wrong place. */
#include <windows.h>
#include <winternl.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "tessel.h"

typedef int(TESSEL_CALL *run_fn)(const char *);
typedef int(TESSEL_CALL *encode_fn)(const char *, const char *, const void *, size_t);
typedef int(TESSEL_CALL *image_fn)(const char *, const void *, size_t, void *, size_t, size_t *);
typedef int(TESSEL_CALL *modules_fn)(const char *, const void *, size_t, unsigned char *, size_t, int *);
typedef const char *(TESSEL_CALL *version_fn)(void);

static HMODULE library;
static run_fn tessel_run_p;
static encode_fn tessel_encode_p;
static version_fn tessel_version_p;
static image_fn tessel_image_p;
static modules_fn tessel_modules_p;

static void fail(const char *what)
{
    fprintf(stderr, "dll_host: %s (error %lu)\n", what, (unsigned long)GetLastError());
    exit(2);
}

static const char *thread_line;
static int thread_rounds, thread_code;
static volatile LONG thread_wrong;

/* The threads call makes the DLL's fclose (its entry in the DLL's import
 * table) wait a millisecond first: a call that lets go of the lock before it
 * has closed the log then lets the next call open the log in that time. */
typedef int(__cdecl *fclose_fn)(FILE *);
static fclose_fn real_fclose;
static int __cdecl slow_fclose(FILE *file)
{
    Sleep(1);
    return real_fclose(file);
}

static void slow_down_fclose(void)
{
    BYTE *base = (BYTE *)library;
    IMAGE_NT_HEADERS *nt = (IMAGE_NT_HEADERS *)(base + ((IMAGE_DOS_HEADER *)base)->e_lfanew);
    IMAGE_IMPORT_DESCRIPTOR *d = (IMAGE_IMPORT_DESCRIPTOR *)(base +
        nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress);
    for (; d->Name != 0; ++d) {
        IMAGE_THUNK_DATA *name = (IMAGE_THUNK_DATA *)(base + d->OriginalFirstThunk);
        IMAGE_THUNK_DATA *slot = (IMAGE_THUNK_DATA *)(base + d->FirstThunk);
        for (; name->u1.AddressOfData != 0; ++name, ++slot) {
            DWORD old;
            if (IMAGE_SNAP_BY_ORDINAL(name->u1.Ordinal) ||
                strcmp((char *)((IMAGE_IMPORT_BY_NAME *)(base + name->u1.AddressOfData))->Name, "fclose") != 0)
                continue;
            real_fclose = (fclose_fn)slot->u1.Function;
            VirtualProtect(&slot->u1.Function, sizeof slot->u1.Function, PAGE_READWRITE, &old);
            slot->u1.Function = (ULONG_PTR)slow_fclose;
            VirtualProtect(&slot->u1.Function, sizeof slot->u1.Function, old, &old);
            return;
        }
    }
    fail("the DLL imports no fclose");
}

static DWORD WINAPI thread_calls(LPVOID unused)
{
    int i;
    (void)unused;
    for (i = 0; i < thread_rounds; ++i) {
        if (tessel_run_p(thread_line) != thread_code)
            InterlockedIncrement(&thread_wrong);
    }
    return 0;
}

#if defined(__i386__)
#define STACK_MARK(where) __asm__ volatile("movl %%esp, %0" : "=r"(where))
#else
#define STACK_MARK(where) ((where) = 0)
#endif

#define CHECKED(name, call)                                                        \
    do {                                                                           \
        size_t before, after;                                                      \
        STACK_MARK(before);                                                        \
        call;                                                                      \
        STACK_MARK(after);                                                         \
        if (before != after) {                                                     \
            printf("stack moved by %ld in %s\n", (long)(after - before), name);    \
            exit(2);                                                               \
        }                                                                          \
    } while (0)

/* The committed private pages of the whole address space. */
static long long private_bytes(void)
{
    MEMORY_BASIC_INFORMATION info;
    const char *address = NULL;
    long long total = 0;
    while (VirtualQuery(address, &info, sizeof info) == sizeof info) {
        if (info.State == MEM_COMMIT && info.Type == MEM_PRIVATE)
            total += (long long)info.RegionSize;
        address = (const char *)info.BaseAddress + info.RegionSize;
    }
    return total;
}

/* The process's handles, from the system's list of all handles: wine's
 * GetProcessHandleCount answers 0. */
static long handle_count(void)
{
    static union { SYSTEM_HANDLE_INFORMATION list; char bytes[1 << 22]; } all;
    ULONG i;
    long count = 0;
    if (NtQuerySystemInformation(SystemHandleInformation, &all, sizeof all, NULL) != 0)
        fail("the handle list could not be read");
    for (i = 0; i < all.list.Count; ++i)
        count += all.list.Handle[i].OwnerPid == GetCurrentProcessId();
    return count;
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
    tessel_image_p = (image_fn)(void (*)(void))GetProcAddress(library, "tessel_image");
    tessel_modules_p = (modules_fn)(void (*)(void))GetProcAddress(library, "tessel_modules");
    if (tessel_run_p == NULL || tessel_encode_p == NULL || tessel_version_p == NULL ||
        tessel_image_p == NULL || tessel_modules_p == NULL)
        fail("a name is not exported");
}

/* Decodes in place. */
static const char *unhex(char *text, size_t *size)
{
    size_t i, n = strcmp(text, "=") == 0 ? 0 : strlen(text) / 2;
    unsigned byte;
    if (strcmp(text, "-") == 0)
        return NULL;
    for (i = 0; i < n; ++i) {
        if (sscanf(text + 2 * i, "%2x", &byte) != 1)
            fail("bad hexadecimal");
        text[i] = (char)byte;
    }
    text[n] = '\0';
    *size = n;
    return text;
}

int main(int argc, char **argv)
{
    int i, code;
    if (argc < 2) {
        fputs("usage: dll_host.exe DLL [run HEX | encode HEX HEX HEX | image HEX HEX NAME"
              " | modules HEX HEX | version | reload | threads N HEX CODE | wrong-convention"
              " | cycles N]...\n", stderr);
        return 2;
    }
    load(argv[1]);
    for (i = 2; i < argc; ++i) {
        size_t size = 0;
        if (strcmp(argv[i], "run") == 0 && i + 1 < argc) {
            const char *command_line = unhex(argv[++i], &size);
            CHECKED("tessel_run", code = tessel_run_p(command_line));
            printf("%d\n", code);
        } else if (strcmp(argv[i], "encode") == 0 && i + 3 < argc) {
            const char *switches = unhex(argv[i + 1], &size);
            const char *name = unhex(argv[i + 2], &size);
            const char *data = unhex(argv[i + 3], &size);
            i += 3;
            CHECKED("tessel_encode", code = tessel_encode_p(switches, name, data, size));
            printf("%d\n", code);
        } else if (strcmp(argv[i], "image") == 0 && i + 3 < argc) {
            static unsigned char image[65536];
            const char *switches = unhex(argv[i + 1], &size);
            const char *data = unhex(argv[i + 2], &size);
            size_t n = 0;
            FILE *file;
            CHECKED("tessel_image", code = tessel_image_p(switches, data, size, image, sizeof image, &n));
            if ((file = fopen(argv[i + 3], "wb")) == NULL || fwrite(image, 1, n, file) != n || fclose(file) != 0)
                fail("cannot write the image file");
            i += 3;
            printf("%d %lu\n", code, (unsigned long)n);
        } else if (strcmp(argv[i], "modules") == 0 && i + 2 < argc) {
            const char *switches = unhex(argv[i + 1], &size);
            const char *data = unhex(argv[i + 2], &size);
            unsigned char modules[177 * 177];
            int side = 0, j;
            i += 2;
            CHECKED("tessel_modules", code = tessel_modules_p(switches, data, size, modules, sizeof modules, &side));
            printf("%d %d ", code, side);
            for (j = 0; j < side * side; ++j)
                putchar('0' + modules[j]);
            putchar('\n');
        } else if (strcmp(argv[i], "version") == 0) {
            const char *version;
            CHECKED("tessel_version", version = tessel_version_p());
            printf("%s\n", version);
        } else if (strcmp(argv[i], "reload") == 0) {
            if (!FreeLibrary(library))
                fail("FreeLibrary failed");
            if (GetModuleHandleA(argv[1]) != NULL)
                fail("the DLL is still loaded after FreeLibrary");
            load(argv[1]);
            printf("reloaded\n");
        } else if (strcmp(argv[i], "threads") == 0 && i + 3 < argc) {
            HANDLE threads[8];
            int t;
            thread_rounds = atoi(argv[i + 1]);
            thread_line = unhex(argv[i + 2], &size);
            thread_code = atoi(argv[i + 3]);
            i += 3;
            slow_down_fclose();
            for (t = 0; t < 8; ++t) {
                if ((threads[t] = CreateThread(NULL, 0, thread_calls, NULL, 0, NULL)) == NULL)
                    fail("CreateThread failed");
            }
            if (WaitForMultipleObjects(8, threads, TRUE, INFINITE) != WAIT_OBJECT_0)
                fail("WaitForMultipleObjects failed");
            for (t = 0; t < 8; ++t)
                CloseHandle(threads[t]);
            printf("%ld %d\n", (long)thread_wrong, _fcloseall());
        } else if (strcmp(argv[i], "cycles") == 0 && i + 1 < argc) {
            int n = atoi(argv[++i]), cycle;
            long long memory = 0;
            long handles = 0;
            for (cycle = -5; cycle < n; ++cycle) {
                if (cycle == 0) {
                    memory = private_bytes();
                    handles = handle_count();
                }
                if (!FreeLibrary(library))
                    fail("FreeLibrary failed");
                load(argv[1]);
                if (tessel_encode_p(NULL, "c.png", "c", 1) != 0)
                    fail("tessel_encode failed");
            }
            printf("%lld %ld\n", private_bytes() - memory, handle_count() - handles);
        } else if (strcmp(argv[i], "wrong-convention") == 0) {
#if defined(__i386__)
            typedef int(__cdecl * cdecl_run_fn)(const char *);
            cdecl_run_fn wrong = (cdecl_run_fn)(void (*)(void))tessel_run_p;
            CHECKED("tessel_run through a __cdecl pointer", wrong("-h"));
#endif
            printf("stack unmoved\n");
        } else {
            fail("unknown call");
        }
        fflush(stdout);
    }
    if (!FreeLibrary(library))
        fail("FreeLibrary failed");
    return 0;
}
