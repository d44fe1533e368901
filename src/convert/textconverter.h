/*
 * The text-converter interface of Quillet Vado, for authors of converter libraries.
 *
 * A converter is a shared library exporting, with C linkage, any of the four entry points below
 * under exactly these names. The editor loads it at run time, calls "InitConverter32" before every
 * import or export, and exchanges RTF with it through a transfer buffer of 4097 bytes and one of
 * two callbacks:
 *
 *   import: the converter reads the foreign file, puts up to 4096 bytes of RTF at a time into the
 *           locked transfer buffer, unlocks it and calls the output callback with the byte count;
 *   export: the converter calls the input callback, then locks the buffer and takes the byte count
 *           it was answered; a count of 0 means that the RTF has ended, a negative one is an error
 *           (QUILLET_CONVERTER_NO_MEMORY when the buffer could not be locked).
 *
 * Strings (the file name, the format class and subset names) travel in global blocks holding
 * UTF-8 text with a terminating zero; the storage pointer is always null (files only).
 *
 * Global blocks are movable and zero-initialised: a block's data may move while it is unlocked,
 * so a pointer from quillet_global_lock is valid only until the matching unlock. The functions
 * are inline so that the editor and the converter share them without linking to each other.
 */
#ifndef QUILLET_TEXTCONVERTER_H
#define QUILLET_TEXTCONVERTER_H

#include <stdlib.h>
#include <string.h>

#ifdef __cplusplus
extern "C" {
#endif

/* Result codes of the entry points and callbacks. */
#define QUILLET_CONVERTER_OK 0
#define QUILLET_CONVERTER_NO_MEMORY (-8)

/* The size of the data the converter and the callbacks exchange at a time. */
#define QUILLET_CONVERTER_CHUNK 4096

struct quillet_global_block {
    unsigned long magic; /* QUILLET_GLOBAL_MAGIC while the block is alive */
    unsigned long locks;
    size_t size;
    void *data; /* null when the block is empty or was discarded */
};

typedef struct quillet_global_block *quillet_hglobal;

#define QUILLET_GLOBAL_MAGIC 0x51474c42UL

/* A movable block of `size` zero bytes; null when memory is short. */
static inline quillet_hglobal quillet_global_alloc(size_t size) {
    quillet_hglobal block = (quillet_hglobal)calloc(1, sizeof(struct quillet_global_block));
    if (!block)
        return NULL;
    if (size > 0) {
        block->data = calloc(1, size);
        if (!block->data) {
            free(block);
            return NULL;
        }
    }
    block->magic = QUILLET_GLOBAL_MAGIC;
    block->size = size;
    return block;
}

/* The block's data, fixed in place until quillet_global_unlock; null when the handle is not a
 * live block or the block holds no memory (empty or discarded). */
static inline void *quillet_global_lock(quillet_hglobal block) {
    if (!block || block->magic != QUILLET_GLOBAL_MAGIC || !block->data)
        return NULL;
    ++block->locks;
    return block->data;
}

/* Answers non-zero while the block stays locked by an earlier lock. */
static inline int quillet_global_unlock(quillet_hglobal block) {
    if (!block || block->magic != QUILLET_GLOBAL_MAGIC || block->locks == 0)
        return 0;
    --block->locks;
    return block->locks != 0;
}

/* The block's size in bytes; 0 for a discarded block or a handle that is not a block. */
static inline size_t quillet_global_size(quillet_hglobal block) {
    if (!block || block->magic != QUILLET_GLOBAL_MAGIC || !block->data)
        return 0;
    return block->size;
}

/* Gives the block a new size, keeping its data up to the smaller size and zeroing the rest. The
 * handle stays the same; the data may move. Fails (null) while the block is locked. */
static inline quillet_hglobal quillet_global_realloc(quillet_hglobal block, size_t size) {
    void *data;
    if (!block || block->magic != QUILLET_GLOBAL_MAGIC || block->locks != 0)
        return NULL;
    data = calloc(1, size > 0 ? size : 1);
    if (!data)
        return NULL;
    if (block->data)
        memcpy(data, block->data, block->size < size ? block->size : size);
    free(block->data);
    block->data = data;
    block->size = size;
    return block;
}

/* Frees the block's memory but keeps the handle: locking it fails from now on. */
static inline void quillet_global_discard(quillet_hglobal block) {
    if (!block || block->magic != QUILLET_GLOBAL_MAGIC || block->locks != 0)
        return;
    free(block->data);
    block->data = NULL;
}

/* Frees the block; answers null on success and the handle when it could not be freed. */
static inline quillet_hglobal quillet_global_free(quillet_hglobal block) {
    if (!block)
        return NULL;
    if (block->magic != QUILLET_GLOBAL_MAGIC)
        return block;
    block->magic = 0;
    free(block->data);
    free(block);
    return NULL;
}

/* The callbacks the editor hands to the converter.
 * Output (import): bytes = the RTF byte count now in the transfer buffer, percent = progress.
 *   Answers 0 to go on; anything else asks the converter to stop.
 * Input (export): flags and percent are ignored. Answers the RTF byte count put into the transfer
 *   buffer, 0 at the end of the RTF, a negative code on error. */
typedef long (*quillet_output_callback)(long bytes, long percent);
typedef long (*quillet_input_callback)(long flags, long percent);

/* The entry points, by these exact names ("InitConverter32", ...).
 * InitConverter32: window = the editor's window handle (null on this platform), module = the
 *   editor's program path in upper case. Non-zero: ready.
 * IsFormatCorrect32: non-zero when the file is in the converter's format.
 * ForeignToRtf32 and RtfToForeign32: 0 on success, any other value is a failure. */
typedef long (*quillet_init_converter)(void *window, const char *module);
typedef long (*quillet_is_format_correct)(quillet_hglobal file, quillet_hglobal format_class);
typedef long (*quillet_foreign_to_rtf)(quillet_hglobal file, void *storage, quillet_hglobal buffer,
                                       quillet_hglobal format_class, quillet_hglobal subset,
                                       quillet_output_callback output);
typedef long (*quillet_rtf_to_foreign)(quillet_hglobal file, void *storage, quillet_hglobal buffer,
                                       quillet_hglobal format_class, quillet_input_callback input);

#ifdef __cplusplus
}
#endif

#endif /* QUILLET_TEXTCONVERTER_H */
