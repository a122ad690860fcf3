#include "codecs/jpeg/JpegErrorManager.h"

#include <string>

#include "codecs/jpeg/EJPEG.h"
#include "codecs/jpeg/JpegMessages.h"

namespace kobalto {

namespace {

JpegErrorManager& ManagerOf(j_common_ptr cinfo) { return *reinterpret_cast<JpegErrorManager*>(cinfo->err); }

void ErrorExit(j_common_ptr cinfo) { AbortJpeg(cinfo, cinfo->err->msg_code); }

// Warnings (level -1) and trace messages are not shown to anyone; libjpeg
// recovers from what it warns about.
void EmitMessage(j_common_ptr, int) {}

void OutputMessage(j_common_ptr) {}

}  // namespace

jpeg_error_mgr* InitJpegErrorManager(JpegErrorManager& manager)
{
    jpeg_error_mgr* err = jpeg_std_error(&manager.pub);
    err->error_exit = ErrorExit;
    err->emit_message = EmitMessage;
    err->output_message = OutputMessage;
    manager.code = 0;
    manager.ownValue = 0;
    return err;
}

void AbortJpeg(j_common_ptr cinfo, int code, long ownValue)
{
    JpegErrorManager& manager = ManagerOf(cinfo);
    manager.code = code;
    manager.ownValue = ownValue;
    std::longjmp(manager.jump, 1);
}

void RaiseJpegError(const JpegErrorManager& manager)
{
    if (manager.code == kJpegTooManyScansCode)
        throw EJPEG(msg::Format(msg::kJpegTooManyScans, {std::to_string(manager.ownValue)}));
    throw EJPEG(manager.code);
}

}  // namespace kobalto
