#include "output/jpeg_writer.h"

#include <QImage>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>

// jpeglib.h needs FILE and size_t declared before it.
#include <jpeglib.h>
// After jpeglib.h, which it extends.
#include <jerror.h>

#include "common/replace_file.h"

namespace kalvera {

namespace {

// libjpeg's default error_exit calls exit(); ours jumps back to the caller
// with the formatted message instead.
struct ErrorManager {
    jpeg_error_mgr pub;
    std::jmp_buf setjmpBuffer;
    char message[JMSG_LENGTH_MAX];
};

void ErrorExit(j_common_ptr cinfo) {
    auto* manager = reinterpret_cast<ErrorManager*>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, manager->message);
    std::longjmp(manager->setjmpBuffer, 1);
}

// Warnings would otherwise be printed on standard error.
void IgnoreMessage(j_common_ptr) {}

// The encoded bytes grow in one malloc'd block that this struct alone owns,
// so the caller can free it on every path. (jpeg_mem_dest replaces its block
// as it grows and hands the last one back only when it finishes, which leaves
// an error in the middle of the image with a pointer that is already freed.)
struct MemoryOutput {
    jpeg_destination_mgr pub;
    unsigned char* bytes = nullptr;
    size_t capacity = 0;
    size_t size = 0;
};

constexpr size_t kFirstOutputBlock = 64 * 1024;

MemoryOutput* OutputOf(j_compress_ptr cinfo) {
    return reinterpret_cast<MemoryOutput*>(cinfo->dest);
}

void GrowOutput(j_compress_ptr cinfo, size_t used) {
    MemoryOutput* out = OutputOf(cinfo);
    const size_t capacity = out->capacity == 0 ? kFirstOutputBlock : out->capacity * 2;
    auto* grown = static_cast<unsigned char*>(std::realloc(out->bytes, capacity));
    if (grown == nullptr) {
        cinfo->err->msg_code = JERR_OUT_OF_MEMORY;
        cinfo->err->msg_parm.i[0] = 0;
        (*cinfo->err->error_exit)(reinterpret_cast<j_common_ptr>(cinfo));
        return;
    }
    out->bytes = grown;
    out->capacity = capacity;
    out->pub.next_output_byte = grown + used;
    out->pub.free_in_buffer = capacity - used;
}

void InitOutput(j_compress_ptr cinfo) {
    OutputOf(cinfo)->size = 0;
    GrowOutput(cinfo, 0);
}

boolean EmptyOutput(j_compress_ptr cinfo) {
    // libjpeg calls this only with the whole block full.
    GrowOutput(cinfo, OutputOf(cinfo)->capacity);
    return TRUE;
}

void TermOutput(j_compress_ptr cinfo) {
    MemoryOutput* out = OutputOf(cinfo);
    out->size = out->capacity - out->pub.free_in_buffer;
}

struct RgbRows {
    const unsigned char* first;
    int width;
    int height;
    int stride;
};

// Kept free of C++ objects with destructors: longjmp skips them.
bool CompressRgb(const RgbRows* rows, int quality, MemoryOutput* output, char* message) {
    jpeg_compress_struct cinfo;
    ErrorManager manager;

    // The error handler goes in first, in case the initialisation step fails.
    cinfo.err = jpeg_std_error(&manager.pub);
    manager.pub.error_exit = ErrorExit;
    manager.pub.output_message = IgnoreMessage;
    manager.message[0] = '\0';
    if (setjmp(manager.setjmpBuffer)) {
        jpeg_destroy_compress(&cinfo);
        std::snprintf(message, JMSG_LENGTH_MAX, "%s", manager.message);
        return false;
    }
    jpeg_create_compress(&cinfo);
    output->pub.init_destination = InitOutput;
    output->pub.empty_output_buffer = EmptyOutput;
    output->pub.term_destination = TermOutput;
    cinfo.dest = &output->pub;

    cinfo.image_width = static_cast<JDIMENSION>(rows->width);
    cinfo.image_height = static_cast<JDIMENSION>(rows->height);
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, quality, TRUE);

    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(rows->first) +
                       static_cast<size_t>(cinfo.next_scanline) * static_cast<size_t>(rows->stride);
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    return true;
}

}  // namespace

bool EncodeJpeg(const QImage& image, int quality, std::vector<unsigned char>& jpeg,
                std::string& error) {
    if (image.isNull() || image.width() <= 0 || image.height() <= 0) {
        error = "EncodeJpeg: the image is empty";
        return false;
    }
    const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    if (rgb.isNull()) {
        error = "EncodeJpeg: out of memory converting the image";
        return false;
    }
    const RgbRows rows{rgb.constBits(), rgb.width(), rgb.height(),
                       static_cast<int>(rgb.bytesPerLine())};
    MemoryOutput output;
    char message[JMSG_LENGTH_MAX] = {};
    const bool ok = CompressRgb(&rows, quality, &output, message);
    if (ok) jpeg.assign(output.bytes, output.bytes + output.size);
    std::free(output.bytes);
    if (!ok) error = std::string("EncodeJpeg: ") + message;
    return ok;
}

bool WriteJpegFile(const QImage& image, const std::string& path, std::string& error) {
    std::vector<unsigned char> jpeg;
    if (!EncodeJpeg(image, kJpegQuality, jpeg, error)) return false;
    return ReplaceFileContents(
        path, std::string_view(reinterpret_cast<const char*>(jpeg.data()), jpeg.size()), error);
}

}  // namespace kalvera
