// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The text plugin (see text_plugin.h), loaded once on first use and kept for the rest of the
// run. It is looked for beside the executable and in the plugin folder below its prefix.
#include "image/text_plugin.h"

#include <memory>

// The plugin, or nothing when no usable copy of it is found: text is then left out.
const TextPlugin* TextLibrary();

// A GUI application on the platform that the arguments name, made by the plugin; nothing
// without the plugin. The caller lets go of any other application object first.
std::unique_ptr<QCoreApplication> StartTextApplication(int& argc, char** argv);

// Whether the running application is a GUI one, which text takes; asked without loading
// Qt Gui.
bool TextCanBeDrawn();
