#pragma once

#include <QWidget>

#include <cstdint>
#include <vector>

class QAbstractButton;

namespace pipfield {

/// The row of seven clothing dye swatches; index 0 keeps the sprite's own colours.
class DyePicker : public QWidget {
    Q_OBJECT

public:
    explicit DyePicker(QWidget* parent = nullptr);

    std::int64_t selection() const { return m_selection; }
    /// Marks a swatch as chosen without telling anyone.
    void setSelection(std::int64_t index);
    QAbstractButton* swatch(int index) const { return m_swatches.at(static_cast<std::size_t>(index)); }
    /// Chooses the swatch `by` places from the focused one, wrapping around, as the arrow keys do.
    void step(int by);

Q_SIGNALS:
    /// The player chose a swatch.
    void picked(std::int64_t index);

private:
    void choose(int index);
    int focusedSwatch() const;

    std::vector<QAbstractButton*> m_swatches;
    std::int64_t m_selection = -1;
};

} // namespace pipfield
