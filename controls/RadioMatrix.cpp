#include "controls/RadioMatrix.h"

#include <QButtonGroup>
#include <QRadioButton>
#include <QScopedValueRollback>
#include <QVBoxLayout>

RadioMatrix::RadioMatrix(QWidget *parent)
    : QWidget(parent)
    , m_group(new QButtonGroup(this))
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_group->setExclusive(true);
    // Toggling is what every route has in common: a click, an arrow key and
    // accessibility's "Toggle" all check the row, and only the row checked
    // (not the one unchecked) is a selection.
    connect(m_group, &QButtonGroup::idToggled, this, [this](int row, bool checked) {
        if (checked && !m_selectingFromCode)
            emit rowSelected(row);
    });
}

QStringList RadioMatrix::rows() const
{
    QStringList texts;
    for (QAbstractButton *button : m_group->buttons())
        texts << button->text();
    return texts;
}

void RadioMatrix::setRows(const QStringList &texts)
{
    // The same rows in another language (the window's texts are set again
    // after its values): retitled in place, so the checked row stays.
    const auto old = m_group->buttons();
    if (old.size() == texts.size()) {
        for (int row = 0; row < texts.size(); ++row)
            m_group->button(row)->setText(texts.at(row));
        return;
    }
    for (QAbstractButton *button : old) {
        m_group->removeButton(button);
        delete button;
    }
    for (int row = 0; row < texts.size(); ++row) {
        auto *button = new QRadioButton(texts.at(row), this);
        button->setObjectName(QStringLiteral("actionRow%1").arg(row));
        m_group->addButton(button, row);
        layout()->addWidget(button);
    }
    // The window's file sets the selected row before its (translated) rows.
    setSelectedRow(m_requestedRow);
}

int RadioMatrix::selectedRow() const
{
    return m_group->checkedId();
}

void RadioMatrix::setSelectedRow(int row)
{
    const QScopedValueRollback<bool> fromCode(m_selectingFromCode, true);
    m_requestedRow = row;
    if (QAbstractButton *button = m_group->button(row)) {
        button->setChecked(true);
        return;
    }
    // No such row: leave the matrix with nothing selected.
    if (QAbstractButton *checked = m_group->checkedButton()) {
        m_group->setExclusive(false);
        checked->setChecked(false);
        m_group->setExclusive(true);
    }
}

int RadioMatrix::rowCount() const
{
    return m_group->buttons().size();
}

QRadioButton *RadioMatrix::rowButton(int row) const
{
    return qobject_cast<QRadioButton *>(m_group->button(row));
}
