#include "card/FileSaveDialog.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QStandardPaths>
#include <QWidget>

namespace pipfield {

QString FileSaveDialog::askPngFile(QWidget* parent, const QString& proposedName) {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    if (folder.isEmpty() || !QDir(folder).exists()) {
        folder = QDir::homePath();
    }
    QFileDialog dialog(parent);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setMimeTypeFilters({QStringLiteral("image/png")});
    dialog.setDefaultSuffix(QStringLiteral("png"));
    dialog.setDirectory(folder);
    dialog.selectFile(proposedName);
    if (parent != nullptr) {
        parent->window()->raise();
        parent->window()->activateWindow();
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    return dialog.selectedFiles().constFirst();
}

} // namespace pipfield
