// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The 20 by 20 point marker drawn over the mosaic: a blue disc centred on pixel (9, 9).
#include <QLabel>

class MarkerImage : public QLabel {
    Q_OBJECT
public:
    static constexpr int kSize = 20;
    static constexpr int kCentre = 9;
    explicit MarkerImage(QWidget* parent = nullptr);
};
