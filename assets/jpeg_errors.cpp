// useJpegErrors: libjpeg's standard error manager with a way back to the
// decoding on the errors and warnings that mean a picture is not whole.
#include "assets/jpeg_errors.h"

#include <jerror.h>  // message codes, to tell a premature end of the data

[[noreturn]] static void failDecoding(j_common_ptr info) {
    (*info->err->output_message)(info);
    std::longjmp(reinterpret_cast<JpegErrorManager *>(info->err)->failure, 1);
}

static void emitMessage(j_common_ptr info, int level) {
    const int code = info->err->msg_code;
    const bool partMissing =
        code == JWRN_JPEG_EOF || code == JWRN_HIT_MARKER || code == JWRN_BOGUS_PROGRESSION;
    if (level < 0 && partMissing) failDecoding(info);
    reinterpret_cast<JpegErrorManager *>(info->err)->standardEmit(info, level);
}

void useJpegErrors(jpeg_decompress_struct &decoder, JpegErrorManager &errors) {
    decoder.err = jpeg_std_error(&errors.standard);
    errors.standard.error_exit = failDecoding;
    errors.standardEmit = errors.standard.emit_message;
    errors.standard.emit_message = emitMessage;
}
