// SPDX-License-Identifier: GPL-3.0-or-later
#include "batch/jobs/prefill_estimate.h"

#include "batch/jobs/prefill_job.h"
#include "tiles/decimal_text.h"

#include <QCoreApplication>
#include <cmath>

namespace {
// Average size of one cached tile in kilobytes, measured on real imagery.
constexpr double kAverageTileKb = 13.805;
} // namespace

PrefillEstimate EstimatePrefill(const QString& depthText, int level) {
    const int depth = ParseIntOr(depthText, -1);
    // No estimate, and the buttons are off: the text says why.
    if (depth <= level)
        return {
            QCoreApplication::translate("PrefillEstimate", "Ориентировочный объем -----") + u'\n' +
                QCoreApplication::translate(
                    "PrefillEstimate", "Чтобы начать, задайте глубину больше текущего уровня (%1).")
                    .arg(level),
            false};
    // A depth the job would refuse says why here, before the user presses the button.
    if (const std::optional<QString> refusal = PrefillRefusal(level, depth))
        return {*refusal, false};
    // Four tiles a block, four times as many blocks per level below the view.
    const double kb = std::pow(4.0, depth - level + 1) * kAverageTileKb;
    return {QCoreApplication::translate("PrefillEstimate", "Ориентировочный объем %1 Кбайт")
                .arg(FormatGeneral(kb)),
            true};
}
