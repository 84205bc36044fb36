// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/open_file_dialog.h"

#include "app/dialog_in_front.h"

#include <QFileDialog>

std::optional<QString> AskFileToOpen(QWidget* owner, const QString& title, const QString& start,
                                     const QString& filter) {
    QFileDialog dialog(owner, title, start, filter);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setFileMode(QFileDialog::ExistingFile);
    if (ExecInFront(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().constFirst();
}
