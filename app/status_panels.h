// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The status bar: five fixed-width text panels side by side.
#include <QFrame>
#include <QLabel>
#include <array>

class StatusPanels : public QFrame {
    Q_OBJECT
public:
    static constexpr int kHeight = 19;
    explicit StatusPanels(QWidget* parent = nullptr);

    QString text(int panel) const { return panels_.at(panel)->text(); }
    void setText(int panel, const QString& text) { panels_.at(panel)->setText(text); }

private:
    std::array<QLabel*, 5> panels_{};
};
