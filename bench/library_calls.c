/* The in-process side of the library benchmark. "run" passes every line of
   FILE to tessel_run in this one process, as tessel-batch runs its lines;
   "floor" does for every line only the file work that such a call must do:
   open the run log for appending and close it, create and remove a
   temporary file, and write an output file of the small symbol's size under
   the line's -o name (its second word). Both print the number of lines, the
   resident set in KiB after each tenth of them, and the peak (VmHWM: this
   program's own, not its parent's before the exec, which getrusage keeps).
   Usage: library_calls run|floor FILE */
#include "tessel.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

static long peak_kib(void)
{
    char line[256];
    long kib = 0;
    FILE *status = fopen("/proc/self/status", "r");
    if (status == NULL)
        return 0;
    while (fgets(line, sizeof line, status) != NULL)
        if (sscanf(line, "VmHWM: %ld kB", &kib) == 1)
            break;
    fclose(status);
    return kib;
}

static long resident_kib(void)
{
    long pages = 0, resident = 0;
    FILE *statm = fopen("/proc/self/statm", "r");
    if (statm != NULL) {
        if (fscanf(statm, "%ld %ld", &pages, &resident) != 2)
            resident = 0;
        fclose(statm);
    }
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

static int file_work(const char *line)
{
    char name[260];
    if (sscanf(line, "-o %259s", name) != 1)
        return 1;
    FILE *log = fopen("Tessel.log", "a");
    if (log == NULL)
        return 1;
    fclose(log);
    const char *dir = getenv("TMPDIR");
    char temp[4096];
    snprintf(temp, sizeof temp, "%s/tesXXXXXX.tmp", dir != NULL && dir[0] != '\0' ? dir : "/tmp");
    int fd = mkstemps(temp, 4);
    if (fd < 0)
        return 1;
    close(fd);
    static unsigned char image[237];
    memset(image, 0xFF, sizeof image);
    FILE *out = fopen(name, "wb");
    if (out == NULL || fwrite(image, sizeof image, 1, out) != 1 || fclose(out) != 0)
        return 1;
    remove(temp);
    return 0;
}

int main(int argc, char **argv)
{
    if (argc != 3)
        return 2;
    const int floor_only = strcmp(argv[1], "floor") == 0;
    FILE *in = fopen(argv[2], "r");
    if (in == NULL)
        return 2;
    long total = 0, done = 0;
    static char line[40000];
    while (fgets(line, sizeof line, in) != NULL)
        ++total;
    rewind(in);
    printf("rss_kib");
    while (fgets(line, sizeof line, in) != NULL) {
        line[strcspn(line, "\n")] = '\0';
        if ((floor_only ? file_work(line) : tessel_run(line)) != 0) {
            fprintf(stderr, "line %ld failed\n", done + 1);
            return 1;
        }
        if (++done % (total / 10 > 0 ? total / 10 : 1) == 0)
            printf(" %ld", resident_kib());
    }
    fclose(in);
    printf("\nlines %ld\npeak_kib %ld\n", done, peak_kib());
    return 0;
}
