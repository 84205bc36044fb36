// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// libjpeg reports a fatal error by calling error_exit, whose default ends the process. A
// viewer must survive a damaged tile and a server a bad picture, so this manager jumps back
// to the caller's setjmp instead and keeps the library's message. Plain C++ without Qt: the
// demo tile server links it too.
#include <csetjmp>
#include <cstdio> // jpeglib.h needs FILE and size_t declared first
#include <jpeglib.h>

struct JpegErrorTrap {
    jpeg_error_mgr manager{}; // must stay the first member: the callbacks cast back from it
    std::jmp_buf jumpBack{};
    char message[JMSG_LENGTH_MAX] = {};
};

// Fills trap.manager and returns it for the err field of a (de)compress struct. Warnings
// (such as data cut short) are dropped; a fatal error longjmps to trap.jumpBack with the
// value 1. Code that owns the struct may give up the same way by calling error_exit.
jpeg_error_mgr* InstallJpegErrorTrap(JpegErrorTrap& trap);
