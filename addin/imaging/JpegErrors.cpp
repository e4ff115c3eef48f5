#include "addin/imaging/JpegErrors.h"

namespace {

void ExitByJump(j_common_ptr cinfo)
{
    longjmp(reinterpret_cast<JpegErrorManager*>(cinfo->err)->recovery, 1);
}

void CountWarning(j_common_ptr cinfo, int level)
{
    if (level < 0)
        ++reinterpret_cast<JpegErrorManager*>(cinfo->err)->warnings;
}

void PrintNothing(j_common_ptr) {}

}  // namespace

jpeg_error_mgr* JpegUseErrorManager(JpegErrorManager* manager)
{
    jpeg_error_mgr* err = jpeg_std_error(&manager->pub);
    err->error_exit = ExitByJump;
    err->emit_message = CountWarning;
    err->output_message = PrintNothing;
    manager->warnings = 0;
    return err;
}
