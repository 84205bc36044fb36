// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Input to one window held back for a while, without disabling it: a refresh of the view
// takes no clicks or keys, yet nothing is repainted greyed and back, and no control loses
// the keyboard focus.
#include <QObject>

class QWidget;

class InputBlock : public QObject {
public:
    explicit InputBlock(const QWidget& window);
    ~InputBlock() override;
    InputBlock(const InputBlock&) = delete;
    InputBlock& operator=(const InputBlock&) = delete;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    const QWidget& window_;
};
