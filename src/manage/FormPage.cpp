#include "manage/FormPage.h"

#include "manage/Label.h"

#include <QGroupBox>
#include <QVBoxLayout>

namespace pipfield {

FormPage::FormPage(QWidget* parent) : QScrollArea(parent) {
    setWidgetResizable(true);
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    auto* content = new QWidget(this);
    content->setAutoFillBackground(false);
    m_column = new QVBoxLayout(content);
    m_column->setContentsMargins(16, 12, 16, 16);
    m_column->setSpacing(6);
    m_column->addStretch(1);
    setWidget(content);
    viewport()->setAutoFillBackground(false);
}

QVBoxLayout* FormPage::addSection(const QString& title, QGroupBox** box) {
    auto* group = new QGroupBox(title, widget());
    auto* rows = new QVBoxLayout(group);
    rows->setSpacing(6);
    if (m_column->count() > 1) {
        m_column->insertSpacing(m_column->count() - 1, 10);
    }
    m_column->insertWidget(m_column->count() - 1, group);
    if (box != nullptr) {
        *box = group;
    }
    return rows;
}

Label* FormPage::addFooter(const QString& text) {
    auto* note = new Label(text, TextStyle::caption, Tone::secondary, widget());
    note->setWordWrap(true);
    note->setContentsMargins(4, 0, 4, 0);
    m_column->insertWidget(m_column->count() - 1, note);
    return note;
}

} // namespace pipfield
