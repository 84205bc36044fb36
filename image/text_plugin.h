// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the text plugin, orbivist-text, gives the program: the one place where a batch command
// needs Qt Gui is text written into a tile's picture, and that library is loaded only when a
// job is about to draw text, so that every other run starts without Qt Gui's libraries.
#include <QCoreApplication>
#include <QString>

struct TextPlugin {
    int version;
    // A GUI application made of the given arguments (their platform option chooses the
    // platform), to take the place of a bare one: text takes its fonts.
    QCoreApplication* (*startApplication)(int& argc, char** argv);
    // Draws first and second line in black, each centred on its point, into RGB888 rows of
    // width by height pixels, in the application's default font at 8 points; draws nothing
    // while the application is not a GUI one.
    void (*drawLines)(uchar* bits, int width, int height, qsizetype bytesPerLine,
                      const QString& firstLine, int firstCentreY, const QString& secondLine,
                      int secondCentreY);
};

// Raised whenever the table above changes, so that a plugin of another build is refused.
inline constexpr int kTextPluginVersion = 1;
// The one symbol the plugin exports: extern "C" const TextPlugin* orbivist_text_plugin().
inline constexpr char kTextPluginEntry[] = "orbivist_text_plugin";
inline constexpr char kTextPluginFile[] = "orbivist-text.so";
