/* tessel.h: Tessel as a library (tessel.dll on Windows, libtessel.so on
 * POSIX), for programs that make QR Code symbols in their own process.
 *
 * Each call is one run of the tessel program: the same files byte for byte,
 * the same lines in "Tessel.log", the same result code. Results: 0 for
 * success (or -h), else the first failure's code:
 *   1101 a file cannot be created    1104 encoding refused (data too long)
 *   1102 out of memory               1105 invalid switch, value, name or data
 *   1103 PNG library failure         1106 BMP conversion failed
 * Every failure has written exactly one line to "Tessel.log". One more code
 * is the library's own, from tessel_image and tessel_modules only:
 *   1107 the caller's buffer is too small: the size needed is stored, nothing
 *        is written into the buffer, nothing is logged; allocate, call again.
 *
 * The log: each call opens "Tessel.log" in the calling process's current
 * directory for appending and closes it before it returns, so the host may
 * change its directory between calls, and may rename or delete the log.
 * Opening creates it: where there was none, a call that succeeds leaves an
 * empty log. Each line is appended whole, also while other processes
 * (tessel.exe, tessel-batch, another host) write the same log.
 * A folder that cannot be written to gets no log; the call goes on.
 *
 * Safe in a long-lived host: a call never ends, aborts or hangs the process,
 * never writes to standard output, and leaves no temporary file behind. A BMP
 * file call writes the converter's status lines to standard error; a host
 * without one loses them and nothing else.
 *
 * Threads: every function may be called from any thread. Calls run one after
 * another under one lock inside the library (a run's settings and its log are
 * process-wide); a call that fails leaves the lock free.
 *
 * Memory: the library holds nothing between calls, and on Windows an unload
 * (FreeLibrary) also hands back what its built-in C++ runtime kept for it:
 * a host may load and unload the DLL per call, and loses no memory and no
 * handle each time. With glibc, the first call lets the process's heap keep
 * up to 1 MiB of freed memory for the next allocations (mallopt), so that
 * call after call does not hand the same memory back to the system and take
 * it again.
 *
 * Texts are 8-bit and NUL-terminated; on Windows, file names are in the ANSI
 * code page and cannot hold a double quote (the file cannot be created:
 * 1101, with Windows' reason, "Nombre inv\xE1lido" on a Spanish system, on
 * the log's next line); spaces and apostrophes are fine. The library keeps
 * no pointer passed to it after a call returns, and nothing it returns needs
 * to be freed.
 *
 * Calling convention: TESSEL_CALL, __stdcall on 32-bit Windows, where the
 * functions are exported under these exact undecorated names (as VBA, VB6
 * and Visual FoxPro need); the platform's one convention elsewhere. */
#ifndef TESSEL_H
#define TESSEL_H

#include <stddef.h>

#if defined(_WIN32) && !defined(_WIN64)
#define TESSEL_CALL __stdcall
#else
#define TESSEL_CALL
#endif

#if defined(_WIN32)
#if defined(TESSEL_BUILDING_LIBRARY)
#define TESSEL_API __declspec(dllexport)
#else
#define TESSEL_API __declspec(dllimport)
#endif
#elif defined(__GNUC__)
#define TESSEL_API __attribute__((visibility("default")))
#else
#define TESSEL_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* One run of a tessel command line: command_line is the text after the
 * program name, split and read exactly as tessel reads it (switches, -o NAME,
 * one data token with its backslash escapes). A null pointer is an empty
 * command line (1105: no output name). */
TESSEL_API int TESSEL_CALL tessel_run(const char *command_line);

/* The same run with the data given as bytes, without the tokenizer between
 * the caller and its data.
 * switches: null, empty, or switches and their values only (for example
 *   "-l M -z 4 -t bmp"), read as a command line is; a data token or -o in it
 *   is refused with 1105 and a log line, before any switch takes effect.
 * output_name: the output file name as it is (spaces and apostrophes
 *   allowed; on Windows no double quote, see above);
 *   null, empty or longer than 259 characters is refused as tessel refuses it.
 * data, size: the size bytes at data are the data exactly: no escapes, no
 *   quotes, no code page; a leading '-' is data. The symbol is the one that
 *   tessel_run makes for the same bytes written as \xHH escapes. A NUL byte
 *   is encoded with -8; without -8, data holding a NUL is refused with 1105
 *   and a log line that says -8 is needed. With -u the bytes must be
 *   well-formed UTF-8 (1105 otherwise); they are never converted.
 *   data may be null only when size is 0 (empty data, as tessel's ""),
 *   which the encoder refuses: 1104.
 * More data than the symbol holds is 1104, as on the command line. */
TESSEL_API int TESSEL_CALL tessel_encode(const char *switches, const char *output_name,
                                         const void *data, size_t size);

/* The symbol in memory, with no file at all (none made, none temporary).
 * switches, data, size: as for tessel_encode, which has no output name here.
 *   A series (-s, -S) is many images and is refused with 1105 and a log line.
 * buffer, capacity: where the image goes, and its size in bytes.
 * image_size: never null; receives the image's size in bytes.
 * On 0, buffer holds the complete file that tessel_encode would write for the
 * same switches and bytes (PNG, BMP, SVG or EMF, as -t says, at the size -z,
 * or -d and -w, give, in the colours of -f and -b), byte for byte, and
 * *image_size its size. When it does
 * not fit capacity (a null buffer with capacity 0 asks for the size this
 * way): 1107, *image_size is the size needed, the buffer is untouched, the
 * log gets nothing. A null buffer with a capacity other than 0 is refused
 * with 1105 and a log line, as is a null image_size. On any failure but 1107
 * *image_size is 0, refusals included. The buffer is never written past
 * capacity. -h writes the usage to the log and returns 0 with *image_size 0.
 * Writes nothing to standard error.
 * Learning the size costs the whole image: a call that answers 1107 has
 * drawn and compressed it, and the call after it does all of that again
 * (seconds each for a poster-sized -d and -w). For a large image, pass a
 * buffer of a good guess first and call again only on 1107: a PNG takes at
 * most about 128 bytes per pixel of its side, a BMP exactly
 * 62 + side * ((side + 31) / 32 * 4) bytes. A BMP of more than 131,071
 * pixels a side is refused at once with 1106 and a log line. */
TESSEL_API int TESSEL_CALL tessel_image(const char *switches, const void *data, size_t size,
                                        void *buffer, size_t capacity, size_t *image_size);

/* The symbol's modules, for a caller that draws them itself at any size:
 * one byte per module, 1 dark and 0 light, row by row from the top, left to
 * right, without the quiet zone; *side is the number of modules per side
 * (21 to 177; the version is (side - 17) / 4), so side * side bytes.
 * switches, data, size: as for tessel_image, refusals included; the switches
 * that only concern image files (-t, -z, -m, -d, -w, -f, -b) have their
 * values checked but change nothing here: -w needs no -d, and colours are not
 * judged for contrast or format.
 * modules, capacity, side: as buffer, capacity and image_size above, with
 * side * side as the size needed (1107 when capacity is less); *side is 0 on
 * any other failure, refusals included. Asking costs only the encoding.
 * With -p swiss the modules are the plain symbol, and the caller draws the
 * Swiss cross over them, centred on the square of side modules (S across):
 * a white square 7/46 S across, on it a black square 6/46 S across, and on
 * that a white cross of two bars, each (7/6)/46 S wide and (35/9)/46 S long;
 * no module may show inside the white square. */
TESSEL_API int TESSEL_CALL tessel_modules(const char *switches, const void *data, size_t size,
                                          unsigned char *modules, size_t capacity, int *side);

/* The version, for example "1.0.0.1": a static text, never freed. */
TESSEL_API const char *TESSEL_CALL tessel_version(void);

#ifdef __cplusplus
}
#endif

#endif /* TESSEL_H */
