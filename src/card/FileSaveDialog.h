#pragma once

#include "card/SaveDialog.h"

namespace pipfield {

/// The desktop's file dialog, offering PNG files only.
class FileSaveDialog final : public SaveDialog {
public:
    QString askPngFile(QWidget* parent, const QString& proposedName) override;
};

} // namespace pipfield
