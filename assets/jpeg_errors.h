#pragma once
// The error manager every JPEG decoding in assets/ uses: libjpeg's standard
// one (messages to stderr), but fatal errors jump back to the decoding's
// setjmp, and so do the warnings that mean the file lacks part of its
// picture: the file ends, a segment's coded data stops at a marker, or a
// progressive scan refines coefficients no earlier scan coded (say, AC before
// any DC). libjpeg would make the missing part up and carry on, which also let
// a file of 300 to 500 bytes claim 16384 x 16384 pixels and cost many seconds
// and 2 GB to decode and upload.
#include <csetjmp>
#include <cstdio>  // FILE, needed before jpeglib.h

#include <jpeglib.h>  // JPEG decoding (libjpeg 6b interface, libjpeg-turbo)

struct JpegErrorManager {
    jpeg_error_mgr standard;
    void (*standardEmit)(j_common_ptr, int) = nullptr;
    std::jmp_buf failure;   // set by the decoding, with setjmp, before any libjpeg call
};

// Makes errors decoder's error manager; call before jpeg_create_decompress.
void useJpegErrors(jpeg_decompress_struct &decoder, JpegErrorManager &errors);
