// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Input to one window held back for a while, without disabling it: a refresh of the view
// takes no clicks or keys, yet nothing is repainted greyed and back, and no control loses
// the keyboard focus.
#include <QObject>
#include <functional>

class QWidget;

class InputBlock : public QObject {
public:
    explicit InputBlock(const QWidget& window);
    // Lets through the input of the widgets passes accepts.
    InputBlock(const QWidget& window, std::function<bool(const QWidget&)> passes);
    ~InputBlock() override;
    InputBlock(const InputBlock&) = delete;
    InputBlock& operator=(const InputBlock&) = delete;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    const QWidget& window_;
    std::function<bool(const QWidget&)> passes_;
};

// Tells of the first input to one window once watching, before the window takes it: the work
// that runs while the person does nothing gives way before anything they do.
class InputWatch : public QObject {
public:
    InputWatch(const QWidget& window, std::function<void()> onInput);
    ~InputWatch() override;
    InputWatch(const InputWatch&) = delete;
    InputWatch& operator=(const InputWatch&) = delete;

    void Watch(bool on);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    const QWidget& window_;
    std::function<void()> onInput_;
    bool watching_ = false;
};
