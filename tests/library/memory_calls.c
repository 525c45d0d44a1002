/* tessel_image and tessel_modules with a buffer that ends where a page that
 * may not be touched begins (a byte written past the capacity faults), then
 * 10,000 calls from 8 threads that must leave the peak resident set as it was
 * after the first 1,600 (not under the address sanitizer, whose quarantine
 * keeps freed memory a while). Exit 0 when all held. Usage: tessel_memory_calls */
#include "tessel.h"

#include <pthread.h>
#include <stdio.h>
#include <string.h>
#include <sys/mman.h>
#include <sys/resource.h>
#include <unistd.h>

static const char *const switches[] = {"-8 -l M", "-8 -t bmp -z 2", "-8 -l H"};
static int failed;

/* Kinds 0 and 1 make an image, kind 2 the modules; returns the code, and the size in *size. */
static int call(int kind, void *buffer, size_t capacity, size_t *size)
{
    int side = 0, code;
    if (kind < 2)
        return tessel_image(switches[kind], "memory\0calls", 12, buffer, capacity, size);
    code = tessel_modules(switches[kind], "memory\0calls", 12, buffer, capacity, &side);
    *size = (size_t)side * (size_t)side;
    return code;
}

static void check(int ok, const char *what, int kind)
{
    if (!ok && !failed) /* the first failure is enough */
        fprintf(stderr, "%s (%s)\n", what, switches[kind]);
    failed |= !ok;
}

static void *calls(void *count)
{
    unsigned char buffer[8192];
    size_t i, size;
    for (i = 0; i < (size_t)count; ++i)
        check(call((int)(i % 3), buffer, sizeof buffer, &size) == 0, "a call from a thread", (int)(i % 3));
    return NULL;
}

static long run_threads(size_t each) /* the peak resident set afterwards, in KiB */
{
    pthread_t threads[8];
    struct rusage usage;
    int t;
    for (t = 0; t < 8; ++t)
        pthread_create(&threads[t], NULL, calls, (void *)each);
    for (t = 0; t < 8; ++t)
        pthread_join(threads[t], NULL);
    return getrusage(RUSAGE_SELF, &usage) == 0 ? usage.ru_maxrss : 0;
}

int main(void)
{
    const size_t page = (size_t)sysconf(_SC_PAGESIZE);
    unsigned char *area = mmap(NULL, 3 * page, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    unsigned char *end = area + 2 * page; /* the guard page */
    size_t size = 0, n, i;
    long warm;
    int kind;
    check(area != MAP_FAILED && mprotect(end, page, PROT_NONE) == 0, "no guard page", 0);
    for (kind = 0; kind < 3 && !failed; ++kind) {
        memset(area, 0xA5, 2 * page);
        check(call(kind, NULL, 0, &size) == 1107 && size > 0 && size <= 2 * page, "size asked", kind);
        check(call(kind, end - (size - 1), size - 1, &n) == 1107 && n == size, "one byte short", kind);
        for (i = 0; i < 2 * page; ++i)
            check(area[i] == 0xA5, "a short buffer was written to", kind);
        check(call(kind, end - size, size, &n) == 0 && n == size, "exact size", kind);
    }
    warm = run_threads(200);
#if defined(__SANITIZE_ADDRESS__)
    warm = 1L << 40;
#endif
    check(run_threads(1250) <= warm + 1024, "the peak resident set grew by 1 MiB", 0);
    return failed;
}
