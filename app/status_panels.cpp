#include "app/status_panels.h"

#include <QHBoxLayout>

namespace {
constexpr std::array<int, 5> kWidths = {120, 120, 25, 150, 100};
}

StatusPanels::StatusPanels(QWidget* parent) : QFrame(parent) {
    setFixedHeight(kHeight);
    auto* row = new QHBoxLayout(this); // owned by this frame
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(2);
    for (std::size_t i = 0; i < panels_.size(); ++i) {
        panels_[i] = new QLabel(this);
        panels_[i]->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        panels_[i]->setFixedWidth(kWidths[i]);
        row->addWidget(panels_[i]);
    }
    row->addStretch(1);
    panels_[4]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
}
