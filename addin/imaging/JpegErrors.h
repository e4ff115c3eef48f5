#pragma once
#include <setjmp.h>
#include <stdio.h>

#include <jpeglib.h>

// libjpeg error handling for one call: fatal errors jump to `recovery`, which
// the calling function sets with setjmp before its first library call;
// warnings are counted and dropped; nothing is printed and nothing ends the
// process. The function that sets the recovery point, and every frame the
// jump crosses, must hold no object with a destructor.
struct JpegErrorManager {
    jpeg_error_mgr pub;
    jmp_buf recovery;
    int warnings;
};

// Fills the manager and answers the pointer to store in cinfo->err.
jpeg_error_mgr* JpegUseErrorManager(JpegErrorManager* manager);
