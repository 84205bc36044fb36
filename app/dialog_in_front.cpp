// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/dialog_in_front.h"

#include <QDialog>
#include <QTimer>
#include <QWindow>

void BringToFront(QWidget& dialog, const QWidget* owner) {
    // A window may be enabled on its own even while its owner is disabled.
    dialog.setEnabled(true);
    // With a window manager the dialog then stays above its owner.
    if (owner && owner->windowHandle() && dialog.windowHandle() &&
        dialog.windowHandle() != owner->windowHandle())
        dialog.windowHandle()->setTransientParent(owner->windowHandle());
    dialog.raise();
    dialog.activateWindow();
}

int ExecInFront(QDialog& dialog) {
    const QWidget* owner = dialog.parentWidget() ? dialog.parentWidget()->window() : nullptr;
    dialog.setEnabled(true);
    // exec() shows the dialog and then runs its loop: raised once it is on screen.
    QTimer::singleShot(0, &dialog, [&dialog, owner] { BringToFront(dialog, owner); });
    return dialog.exec();
}
