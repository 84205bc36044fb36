// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Dialogs a job shows while the main window is disabled. A dialog that belongs to the window
// is disabled with it, and a window shown again does not come above the others by itself:
// each is enabled, raised and given the keyboard focus as it appears.
class QDialog;
class QWidget;

// Puts an already shown dialog in front of the window it belongs to, enabled and focused.
void BringToFront(QWidget& dialog, const QWidget* owner);

// Runs the dialog modally in front; returns what QDialog::exec() returns.
int ExecInFront(QDialog& dialog);
