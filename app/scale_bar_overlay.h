// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The scale bar drawn over the map's lower left corner: a round length in metres or
// kilometres at the latitude of the view's centre. It takes no mouse input.
#include <QCoreApplication>
#include <QWidget>

class ScaleBarOverlay : public QWidget {
    Q_DECLARE_TR_FUNCTIONS(ScaleBarOverlay)
public:
    static constexpr int kWidth = 160;
    static constexpr int kHeight = 28;
    explicit ScaleBarOverlay(QWidget* parent);

    // The bar for the view at latitude and level.
    void Measure(double latitude, int level);
    // What the bar says, "" when no round length fits.
    QString Text() const { return text_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString text_;
    int pixels_ = 0;
};
