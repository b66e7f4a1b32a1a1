#pragma once

#include "card/SaveDialog.h"

#include <QString>

#include <vector>

namespace pipfield::test {

/// Answers the save dialog with a prepared path (empty: cancel) and remembers the proposal.
class FakeSaveDialog final : public SaveDialog {
public:
    QString askPngFile(QWidget*, const QString& proposedName) override {
        proposed.push_back(proposedName);
        return answer;
    }

    QString answer;
    std::vector<QString> proposed;
};

} // namespace pipfield::test
