#pragma once

#include <QWidget>

#include <cstdint>

namespace pipfield {

/// The crate's fill as a green capsule over a faint track.
class CrateGauge : public QWidget {
    Q_OBJECT

public:
    explicit CrateGauge(QWidget* parent = nullptr);

    void setFill(std::int64_t count, std::int64_t capacity);
    /// The filled share of the track, 0 to 1.
    double fraction() const;

    QSize sizeHint() const override { return QSize(120, 8); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::int64_t m_count = 0;
    std::int64_t m_capacity = 0;
};

} // namespace pipfield
