/* tessel_image and tessel_modules at the edges of the caller's buffer, which
 * ends at a page that may not be touched (a byte written past the capacity
 * faults), then 10,000 calls from 8 threads, each of which must give the
 * bytes of the first call, with the peak resident set no larger at the end
 * than after the first calls. Exit 0 when all held. Usage: tessel_memory_calls */
#include "tessel.h"

#include <pthread.h>
#include <stdio.h>
#include <string.h>
#include <sys/mman.h>
#include <sys/resource.h>
#include <unistd.h>

#if defined(__SANITIZE_ADDRESS__)
#define SANITIZED 1 /* the sanitizer's quarantine holds freed memory: no memory check */
#else
#define SANITIZED 0
#endif

static const char *const switches[] = {"-8 -l M", "-8 -t bmp -z 2", "-8 -l H"};
static unsigned char reference[3][4096];
static size_t reference_size[3];
static int failed;

/* Calls kind 0 and 1 tessel_image, kind 2 tessel_modules; *size gets the size. */
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

/* Capacity bytes that end where an inaccessible page begins. */
static void edges(int kind)
{
    const size_t page = (size_t)sysconf(_SC_PAGESIZE), pages = 4096 / page + 2;
    size_t size = 0, n;
    unsigned char *area = mmap(NULL, pages * page, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    unsigned char *end = area + (pages - 1) * page;
    if (area == MAP_FAILED || mprotect(end, page, PROT_NONE) != 0) {
        perror("mmap");
        failed = 1;
        return;
    }
    memset(area, 0xA5, (pages - 1) * page);
    check(call(kind, NULL, 0, &size) == 1107 && size > 0 && size < sizeof reference[0], "size asked", kind);
    check(call(kind, end - (size - 1), size - 1, &n) == 1107 && n == size, "one byte short", kind);
    for (n = 0; n < (pages - 1) * page; ++n)
        check(area[n] == 0xA5, "a short buffer was written to", kind);
    check(call(kind, end - size, size, &n) == 0 && n == size, "exact size", kind);
    memcpy(reference[kind], end - size, size);
    reference_size[kind] = size;
    munmap(area, pages * page);
}

static long peak_kib(void)
{
    struct rusage usage;
    return getrusage(RUSAGE_SELF, &usage) == 0 ? usage.ru_maxrss : 0;
}

static void *calls(void *count)
{
    static unsigned char buffers[8][4096];
    static int next;
    unsigned char *buffer = buffers[__atomic_fetch_add(&next, 1, __ATOMIC_RELAXED) % 8];
    long i;
    for (i = 0; i < (long)(size_t)count; ++i) {
        const int kind = (int)(i % 3);
        size_t size = 0;
        check(call(kind, buffer, sizeof buffers[0], &size) == 0 && size == reference_size[kind] &&
              memcmp(buffer, reference[kind], size) == 0, "a call from a thread differs", kind);
    }
    return NULL;
}

static void run_threads(long each)
{
    pthread_t threads[8];
    int t;
    for (t = 0; t < 8; ++t)
        pthread_create(&threads[t], NULL, calls, (void *)(size_t)each);
    for (t = 0; t < 8; ++t)
        pthread_join(threads[t], NULL);
}

int main(void)
{
    int kind;
    long warm;
    for (kind = 0; kind < 3; ++kind)
        edges(kind);
    run_threads(200);
    warm = peak_kib();
    run_threads(1250);
    if (!SANITIZED && peak_kib() > warm + 1024) {
        fprintf(stderr, "peak resident set grew from %ld to %ld KiB\n", warm, peak_kib());
        failed = 1;
    }
    return failed;
}
