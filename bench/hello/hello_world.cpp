// SPDX-License-Identifier: GPL-3.0-or-later
// The smallest Qt Widgets program that shows a window: the reference for the viewer's
// start-up time and idle memory. Says "painted" on its standard output at its first paint.
#include <QApplication>
#include <QLabel>

#include <cstdio>

namespace {

class HelloLabel : public QLabel {
public:
    using QLabel::QLabel;

protected:
    void paintEvent(QPaintEvent* event) override {
        QLabel::paintEvent(event);
        if (!painted_) {
            painted_ = true;
            std::printf("painted\n");
            std::fflush(stdout);
        }
    }

private:
    bool painted_ = false;
};

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    HelloLabel label(QStringLiteral("Hello, world"));
    label.show();
    return app.exec();
}
