#include "controls/Control.h"

#include "controls/RadioMatrix.h"
#include "controls/Tags.h"

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QAction>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QSpinBox>

namespace {
// Remembered on a line edit so that isSelectable() can answer; Qt has no
// "selectable" flag of its own for editable fields.
constexpr const char *UnselectableProperty = "morvaneUnselectable";
} // namespace

QString withoutMnemonic(QString text)
{
    // Morvane's texts never show a literal "&", so every one is a marker.
    return text.remove(QLatin1Char('&'));
}

Control::Control(QObject *object)
    : m_object(object)
{
}

qint64 Control::tag() const
{
    return m_object ? m_object->property(Tag::Property).toLongLong() : 0;
}

void Control::setEnabled(bool enabled)
{
    if (auto *widget = as<QWidget>())
        widget->setEnabled(enabled);
    else if (auto *action = as<QAction>())
        action->setEnabled(enabled);
}

bool Control::isEnabled() const
{
    if (auto *widget = as<QWidget>())
        return widget->isEnabled();
    if (auto *action = as<QAction>())
        return action->isEnabled();
    return false;
}

void Control::setHidden(bool hidden)
{
    if (auto *widget = as<QWidget>())
        widget->setHidden(hidden);
    else if (auto *action = as<QAction>())
        action->setVisible(!hidden);
}

bool Control::isHidden() const
{
    if (auto *widget = as<QWidget>())
        return widget->isHidden();
    if (auto *action = as<QAction>())
        return !action->isVisible();
    return false;
}

QString Control::stringValue() const
{
    if (auto *edit = as<QLineEdit>())
        return edit->text();
    if (auto *label = as<QLabel>())
        return label->text();
    if (auto *combo = as<QComboBox>())
        return combo->currentText();
    if (auto *button = as<QAbstractButton>())
        return button->text();
    if (auto *spin = as<QAbstractSpinBox>())
        return spin->text();
    return QString();
}

void Control::setStringValue(const QString &text)
{
    if (auto *edit = as<QLineEdit>()) {
        edit->setText(text);
    } else if (auto *label = as<QLabel>()) {
        label->setText(text);
    } else if (auto *combo = as<QComboBox>()) {
        const QSignalBlocker blocker(combo);
        combo->setCurrentText(text);
    } else if (auto *button = as<QAbstractButton>()) {
        button->setText(text);
    }
}

QString Control::title() const
{
    if (auto *button = as<QAbstractButton>())
        return withoutMnemonic(button->text());
    return QString();
}

void Control::setTitle(const QString &title)
{
    if (auto *button = as<QAbstractButton>())
        button->setText(title);
}

int Control::state() const
{
    if (auto *button = as<QAbstractButton>())
        return button->isChecked() ? 1 : 0;
    return 0;
}

void Control::setEditable(bool editable)
{
    if (auto *edit = as<QLineEdit>())
        edit->setReadOnly(!editable);
    else if (auto *combo = as<QComboBox>(); combo && combo->lineEdit())
        combo->lineEdit()->setReadOnly(!editable);
}

bool Control::isEditable() const
{
    if (auto *edit = as<QLineEdit>())
        return !edit->isReadOnly();
    return false;
}

void Control::setSelectable(bool selectable)
{
    if (auto *edit = as<QLineEdit>()) {
        // A field that cannot be selected must not take the focus either,
        // or the keyboard could still select its text.
        edit->setProperty(UnselectableProperty, !selectable);
        edit->setFocusPolicy(selectable ? Qt::StrongFocus : Qt::NoFocus);
        if (!selectable)
            edit->deselect();
    } else if (auto *label = as<QLabel>()) {
        label->setTextInteractionFlags(selectable ? Qt::TextSelectableByMouse : Qt::NoTextInteraction);
    }
}

bool Control::isSelectable() const
{
    if (auto *edit = as<QLineEdit>())
        return !edit->property(UnselectableProperty).toBool();
    if (auto *label = as<QLabel>())
        return label->textInteractionFlags() & Qt::TextSelectableByMouse;
    return false;
}

void Control::announce(const QString &text)
{
    if (auto *widget = as<QWidget>())
        widget->setAccessibleDescription(text);
}

void Control::setRefusesFirstResponder(bool refuses)
{
    if (auto *widget = as<QWidget>())
        widget->setFocusPolicy(refuses ? Qt::NoFocus : Qt::StrongFocus);
}

int Control::selectedRow() const
{
    if (auto *matrix = as<RadioMatrix>())
        return matrix->selectedRow();
    return -1;
}

qint64 Control::integerValue() const
{
    if (auto *spin = as<QSpinBox>())
        return spin->value();
    return 0;
}

double Control::minValue() const
{
    if (auto *spin = as<QSpinBox>())
        return spin->minimum();
    return 0.0;
}

double Control::maxValue() const
{
    if (auto *spin = as<QSpinBox>())
        return spin->maximum();
    return 0.0;
}

QDateTime Control::dateValue() const
{
    if (auto *picker = as<QDateTimeEdit>())
        return picker->dateTime();
    return QDateTime();
}

void Control::setDateValue(const QDateTime &date)
{
    if (auto *picker = as<QDateTimeEdit>()) {
        // A date set from code is no change by the user: no mirroring.
        const QSignalBlocker blocker(picker);
        picker->setDateTime(date);
    }
}

void Control::setMinDate(const QDateTime &date)
{
    if (auto *picker = as<QDateTimeEdit>()) {
        const QSignalBlocker blocker(picker);
        picker->setMinimumDateTime(date);
    }
}

QDateTime Control::minDate() const
{
    if (auto *picker = as<QDateTimeEdit>())
        return picker->minimumDateTime();
    return QDateTime();
}
