#pragma once

#include <QWidget>

#include <cstdint>

namespace pipfield {

class Label;
class Sprite;

/// The coin icon and an amount in short form; read aloud with the amount in full.
class CoinLabel : public QWidget {
    Q_OBJECT

public:
    CoinLabel(Sprite& sprites, const QFont& font, QWidget* parent = nullptr);

    void setAmount(std::int64_t amount);
    std::int64_t amount() const { return m_amount; }
    QString text() const;
    Label* textLabel() const { return m_text; }

private:
    Label* m_text;
    std::int64_t m_amount = -1;
};

} // namespace pipfield
