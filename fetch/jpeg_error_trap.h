#pragma once
// libjpeg reports a fatal error by calling error_exit, whose default ends the process.
// A server must survive a bad picture, so this manager jumps back to the caller's setjmp
// instead and keeps the library's message for the log.
#include <csetjmp>
#include <cstdio> // jpeglib.h needs FILE declared first
#include <jpeglib.h>
#include <string>

namespace tileserver {

struct JpegErrorTrap {
    jpeg_error_mgr manager{}; // must stay the first member: the callbacks cast back from it
    std::jmp_buf jumpBack{};
    char message[JMSG_LENGTH_MAX] = {};
};

// Fills trap.manager and returns it for the err field of a (de)compress struct.
// Warnings are dropped; a fatal error longjmps to trap.jumpBack with the value 1.
jpeg_error_mgr* InstallJpegErrorTrap(JpegErrorTrap& trap);

} // namespace tileserver
