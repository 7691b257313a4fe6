#pragma once

// What the editor tests share: pressing the window's controls as a user
// would, and a readable picture of every control's state.

#include "controls/RadioMatrix.h"
#include "tests/support/WindowFixture.h"

#include <QAbstractButton>
#include <QLineEdit>
#include <QRadioButton>
#include <QStringList>

namespace EditorTest {

struct Placed
{
    qint64 tag;
    int page; // -1: looked up with no container
};

// Every control of the main window's tag plan, where the code looks for it.
inline const QList<Placed> &allControls()
{
    static const QList<Placed> controls = {{Tag::HelpButton, -1}, {Tag::RunButton, -1}, {Tag::ChooseScriptButton, -1},
        {Tag::DimAfterScriptCheckBox, -1}, {Tag::SpareCheckBox, -1}, {Tag::ActionMatrix, -1},
        {Tag::ScriptPathField, -1}, {Tag::TimeLeftCaption, -1}, {Tag::TimeLeftText, -1}, {Tag::ScriptCaption, -1},
        {Tag::CountdownCaption, 0}, {Tag::NumberField, 0}, {Tag::UnitComboBox, 0}, {Tag::NowButton, 1},
        {Tag::MinimumStepper, 1}, {Tag::MinimumSecondsText, 1}, {Tag::DatePickerA, 1}, {Tag::DatePickerB, 1},
        {Tag::DatePickerC, 1}};
    return controls;
}

// One line per control, e.g. "35000 disabled shown readonly unselectable".
inline QStringList snapshot(const WindowFixture &f)
{
    QStringList lines;
    for (const Placed &placed : allControls()) {
        const Control control = f.control(placed.tag, placed.page < 0 ? nullptr : f.page(placed.page));
        QStringList parts {QString::number(placed.tag)};
        if (control.isNull()) {
            lines << parts.first() + QStringLiteral(" missing");
            continue;
        }
        parts << (control.isEnabled() ? QStringLiteral("enabled") : QStringLiteral("disabled"));
        parts << (control.isHidden() ? QStringLiteral("hidden") : QStringLiteral("shown"));
        if (control.as<QLineEdit>()) {
            parts << (control.isEditable() ? QStringLiteral("editable") : QStringLiteral("readonly"));
            parts << (control.isSelectable() ? QStringLiteral("selectable") : QStringLiteral("unselectable"));
        }
        if (placed.tag == Tag::RunButton)
            parts << QLatin1Char('"') + control.title() + QLatin1Char('"');
        lines << parts.join(QLatin1Char(' '));
    }
    return lines;
}

inline RadioMatrix *matrix(const WindowFixture &f)
{
    return f.control(Tag::ActionMatrix, f.delegate->aBox1()).as<RadioMatrix>();
}

// Picks an action row the way a user does, so the matrix sends its event.
inline void pickRow(const WindowFixture &f, int row)
{
    matrix(f)->rowButton(row)->click();
}

inline void pressRun(const WindowFixture &f)
{
    f.control(Tag::RunButton).as<QAbstractButton>()->click();
}

inline void setUpCountdown(const WindowFixture &f, const QString &number, const QString &unit)
{
    f.control(Tag::NumberField, f.page(0)).setStringValue(number);
    f.control(Tag::UnitComboBox, f.page(0)).setStringValue(unit);
}

} // namespace EditorTest
