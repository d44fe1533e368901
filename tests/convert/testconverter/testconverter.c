/* A converter for the tests, written against the public interface in C. Its behaviour is switched
 * by environment variables read at every call:
 *   QUILLET_TESTCONV_INIT=0     InitConverter32 answers 0
 *   QUILLET_TESTCONV_FORMAT=0   IsFormatCorrect32 answers 0
 *   QUILLET_TESTCONV_RESULT=n   ForeignToRtf32 and RtfToForeign32 answer n after their work
 *   QUILLET_TESTCONV_DISCARD=1  RtfToForeign32 discards the transfer buffer before asking for RTF
 *   QUILLET_TESTCONV_LOG=path   every call and every chunk is appended to that file, one line each
 *   QUILLET_TESTCONV_CRASH=1    ForeignToRtf32 and RtfToForeign32 abort the process
 *   QUILLET_TESTCONV_HANG=1     ForeignToRtf32 and RtfToForeign32 never return
 * Import sends the file's bytes as RTF in chunks of 4096; export writes the RTF it receives to the
 * file. Built in variants that leave out one entry point each (TESTCONV_NO_INIT, ...). */
#include "convert/textconverter.h"

#include <stdio.h>
#include <unistd.h>

#define EXPORTED __attribute__((visibility("default")))

static int switched(const char *name, const char *value) {
    const char *set = getenv(name);
    return set && strcmp(set, value) == 0;
}

static void logLine(const char *what, long number, const char *text) {
    const char *path = getenv("QUILLET_TESTCONV_LOG");
    FILE *log;
    if (!path || !*path)
        return;
    log = fopen(path, "a");
    if (!log)
        return;
    fprintf(log, "%s %ld %s\n", what, number, text ? text : "");
    fclose(log);
}

/* The faults a converter may have, for the helper process to contain. */
static void misbehave(void) {
    if (switched("QUILLET_TESTCONV_CRASH", "1"))
        abort();
    if (switched("QUILLET_TESTCONV_HANG", "1"))
        for (;;)
            pause();
}

static long result(void) {
    const char *set = getenv("QUILLET_TESTCONV_RESULT");
    return set ? strtol(set, NULL, 10) : 0;
}

/* The file name from its block, copied so the block can stay unlocked. */
static char *fileName(quillet_hglobal block) {
    const char *text = (const char *)quillet_global_lock(block);
    char *copy;
    if (!text)
        return NULL;
    copy = (char *)malloc(strlen(text) + 1);
    if (copy)
        strcpy(copy, text);
    quillet_global_unlock(block);
    return copy;
}

#ifndef TESTCONV_NO_INIT
EXPORTED long InitConverter32(void *window, const char *module) {
    (void)window;
    logLine("init", 0, module);
    return switched("QUILLET_TESTCONV_INIT", "0") ? 0 : 1;
}
#endif

#ifndef TESTCONV_NO_FORMAT
EXPORTED long IsFormatCorrect32(quillet_hglobal file, quillet_hglobal formatClass) {
    char *name = fileName(file);
    const char *className = (const char *)quillet_global_lock(formatClass);
    logLine("format", className ? (long)strlen(className) : -1, name);
    quillet_global_unlock(formatClass);
    free(name);
    return switched("QUILLET_TESTCONV_FORMAT", "0") ? 0 : 1;
}
#endif

#ifndef TESTCONV_NO_IMPORT
EXPORTED long ForeignToRtf32(quillet_hglobal file, void *storage, quillet_hglobal buffer,
                             quillet_hglobal formatClass, quillet_hglobal subset,
                             quillet_output_callback output) {
    char *name = fileName(file);
    FILE *in;
    size_t count;
    char chunk[QUILLET_CONVERTER_CHUNK];
    (void)formatClass;
    (void)subset;
    logLine("import", storage ? 1 : 0, name);
    misbehave();
    in = name ? fopen(name, "rb") : NULL;
    free(name);
    if (!in)
        return 1;
    while ((count = fread(chunk, 1, sizeof chunk, in)) > 0) {
        char *data = (char *)quillet_global_lock(buffer);
        if (!data)
            break;
        memcpy(data, chunk, count);
        quillet_global_unlock(buffer);
        logLine("out", (long)count, NULL);
        if (output((long)count, 50) != 0)
            break;
    }
    fclose(in);
    return result();
}
#endif

#ifndef TESTCONV_NO_EXPORT
EXPORTED long RtfToForeign32(quillet_hglobal file, void *storage, quillet_hglobal buffer,
                             quillet_hglobal formatClass, quillet_input_callback input) {
    char *name = fileName(file);
    FILE *out;
    long count;
    (void)formatClass;
    logLine("export", storage ? 1 : 0, name);
    misbehave();
    out = name ? fopen(name, "wb") : NULL;
    free(name);
    if (!out)
        return 1;
    if (switched("QUILLET_TESTCONV_DISCARD", "1"))
        quillet_global_discard(buffer);
    for (;;) {
        const char *data;
        count = input(0, 50);
        logLine("in", count, NULL);
        if (count <= 0)
            break;
        data = (const char *)quillet_global_lock(buffer);
        if (!data)
            break;
        fwrite(data, 1, (size_t)count, out);
        quillet_global_unlock(buffer);
    }
    fclose(out);
    return count < 0 ? count : result();
}
#endif

/* Every variant exports something, so that it is a library of its own. */
EXPORTED int QuilletTestConverterVariant(void) {
    return 1;
}
