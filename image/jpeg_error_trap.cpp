// SPDX-License-Identifier: GPL-3.0-or-later
#include "image/jpeg_error_trap.h"

namespace {

[[noreturn]] void JumpBack(j_common_ptr info) {
    auto* trap = reinterpret_cast<JpegErrorTrap*>(info->err);
    (*info->err->format_message)(info, trap->message);
    std::longjmp(trap->jumpBack, 1);
}

void DropMessage(j_common_ptr) {}

} // namespace

jpeg_error_mgr* InstallJpegErrorTrap(JpegErrorTrap& trap) {
    jpeg_std_error(&trap.manager);
    trap.manager.error_exit = JumpBack;
    trap.manager.output_message = DropMessage;
    trap.message[0] = '\0';
    return &trap.manager;
}
