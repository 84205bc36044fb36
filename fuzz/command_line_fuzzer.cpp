// SPDX-License-Identifier: GPL-3.0-or-later
// The batch commands' parser on any argument list: the input's NUL bytes separate the
// arguments. Whatever it is given, it answers with a command it can run or one line of
// reason, and a command it accepts holds only values the job can take.
#include "app/command_line.h"
#include "fuzz/fuzz_check.h"

#include <cstddef>
#include <cstdint>

namespace {

void CheckCount(const std::optional<QString>& count) {
    if (!count)
        return;
    bool ok = false;
    FUZZ_CHECK(count->toInt(&ok) >= 1 && ok);
}

void CheckPoint(const std::optional<CommandPoint>& at) {
    if (!at)
        return;
    FUZZ_CHECK(at->latitude >= -90 && at->latitude <= 90);
    FUZZ_CHECK(at->longitude >= -180 && at->longitude <= 180);
    FUZZ_CHECK(at->level >= 1 && at->level <= 20);
}

void CheckSchedule(const CommandSchedule& schedule) {
    FUZZ_CHECK(schedule.delayMinutes >= 0 && schedule.delayMinutes <= 100 * 60 + 60);
    FUZZ_CHECK(schedule.user.isEmpty() || schedule.dialEntry);
    FUZZ_CHECK(!schedule.hangUp || schedule.any);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    QStringList arguments;
    for (const QByteArray& argument : bytes.split('\0'))
        arguments << QString::fromLocal8Bit(argument);
    const BatchCommand command = ParseBatchCommand(arguments);
    if (const auto* error = std::get_if<CommandError>(&command)) {
        FUZZ_CHECK(!error->reason.isEmpty() && !error->reason.contains(u'\n'));
    } else if (const auto* stitch = std::get_if<StitchCommand>(&command)) {
        FUZZ_CHECK(!stitch->home.isEmpty() && !stitch->output.isEmpty());
        CheckCount(stitch->columns);
        CheckCount(stitch->rows);
        FUZZ_CHECK(!stitch->quality || (*stitch->quality >= 20 && *stitch->quality <= 100));
        CheckPoint(stitch->at);
        CheckSchedule(stitch->schedule);
    } else if (const auto* prefill = std::get_if<PrefillCommand>(&command)) {
        FUZZ_CHECK(!prefill->home.isEmpty());
        CheckCount(prefill->depth);
        CheckPoint(prefill->at);
        CheckSchedule(prefill->schedule);
    }
    return 0;
}
