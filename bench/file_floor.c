/* A second floor for the start-up measurements: only the file work that a
   PNG run of the program has to do, with nothing encoded or compressed.
   It opens the run log for appending, creates and removes a temporary
   file, and writes an output file of the small symbol's size.
   Usage: file_floor OUTPUT */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

int main(int argc, char** argv)
{
    if (argc != 2)
        return 2;
    FILE* log = fopen("Tessel.log", "a");
    if (log == NULL)
        return 1;

    const char* dir = getenv("TMPDIR");
    char temp[4096];
    snprintf(temp, sizeof temp, "%s/tesXXXXXX.tmp", dir != NULL && dir[0] != '\0' ? dir : "/tmp");
    int fd = mkstemps(temp, 4);
    if (fd < 0)
        return 1;
    close(fd);

    static unsigned char image[237];
    memset(image, 0xFF, sizeof image);
    FILE* out = fopen(argv[1], "wb");
    if (out == NULL || fwrite(image, sizeof image, 1, out) != 1 || fclose(out) != 0)
        return 1;

    remove(temp);
    return 0;
}
