// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/status_panels.h"

#include <QHBoxLayout>

namespace {
// The last panel takes what is left of the window's width (about 100 pixels).
constexpr std::array<int, 4> kWidths = {120, 120, 25, 150};
} // namespace

StatusPanels::StatusPanels(QWidget* parent) : QFrame(parent) {
    setFixedHeight(kHeight);
    auto* row = new QHBoxLayout(this); // owned by this frame
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    for (std::size_t i = 0; i < panels_.size(); ++i) {
        panels_[i] = new QLabel(this);
        panels_[i]->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        if (i < kWidths.size())
            panels_[i]->setFixedWidth(kWidths[i]);
        row->addWidget(panels_[i], i < kWidths.size() ? 0 : 1);
    }
    panels_[4]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
}
