#include "platform/formats/Jpeg.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <jpeglib.h>
#include <memory>

namespace platform {

bool EncodeJpeg(const QImage& image, QByteArray& out)
{
    if (image.isNull())
        return false;
    const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    struct TErr {
        jpeg_error_mgr Mgr;
        std::jmp_buf Jump;
    } err{};
    jpeg_compress_struct cinfo{};
    // The output lives outside this frame: locals changed after setjmp are lost by a longjmp.
    struct TDest {
        unsigned char* Buffer = nullptr;
        unsigned long Size = 0;
    };
    const auto dest = std::make_unique<TDest>();
    cinfo.err = jpeg_std_error(&err.Mgr);
    // The library's own error exit ends the process; this one returns to the caller instead.
    err.Mgr.error_exit = [](j_common_ptr info) { std::longjmp(reinterpret_cast<TErr*>(info->err)->Jump, 1); };
    if (setjmp(err.Jump)) {
        jpeg_destroy_compress(&cinfo);
        free(dest->Buffer);
        return false;
    }
    jpeg_create_compress(&cinfo);
    jpeg_mem_dest(&cinfo, &dest->Buffer, &dest->Size);
    cinfo.image_width = JDIMENSION(rgb.width());
    cinfo.image_height = JDIMENSION(rgb.height());
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(rgb.constScanLine(int(cinfo.next_scanline)));
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    out = QByteArray(reinterpret_cast<const char*>(dest->Buffer), qsizetype(dest->Size));
    jpeg_destroy_compress(&cinfo);
    free(dest->Buffer);
    return true;
}

}  // namespace platform
