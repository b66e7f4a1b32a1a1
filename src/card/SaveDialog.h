#pragma once

#include <QString>

class QWidget;

namespace pipfield {

/// Asks the player where to store a PNG picture.
class SaveDialog {
public:
    virtual ~SaveDialog() = default;

    /// The chosen file, or an empty text when the player cancelled.
    virtual QString askPngFile(QWidget* parent, const QString& proposedName) = 0;
};

} // namespace pipfield
