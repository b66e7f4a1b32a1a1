#pragma once

#include <QScrollArea>

class QGroupBox;
class QVBoxLayout;

namespace pipfield {

class Label;

/// A grouped form: titled sections stacked in a scrolling column, each with an optional note below.
class FormPage : public QScrollArea {
    Q_OBJECT

public:
    explicit FormPage(QWidget* parent = nullptr);

    /// Appends a section and returns the layout its rows go into. An empty title draws no heading.
    QVBoxLayout* addSection(const QString& title, QGroupBox** box = nullptr);
    /// A note in the secondary colour under the last section.
    Label* addFooter(const QString& text);

private:
    QVBoxLayout* m_column;
};

} // namespace pipfield
