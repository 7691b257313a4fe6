#include "settings/SettingsWriter.h"

#include "controls/Log.h"
#include "controls/Tags.h"
#include "controls/TaskContext.h"

#include <QSettings>

namespace {
// The text of a control, or a null string when there is no control. An
// empty field is still a value and is saved as the empty text.
QString textOf(const Control &control)
{
    if (control.isNull())
        return QString();
    const QString text = control.stringValue();
    return text.isNull() ? QString::fromLatin1("") : text;
}

void setText(QSettings &store, const QString &key, const QString &text)
{
    if (text.isNull())
        store.remove(key);
    else
        store.setValue(key, text);
}

} // namespace

SettingsWriter::SettingsWriter(TaskContext &context)
    : m_context(context)
{
}

void SettingsWriter::save()
{
    QSettings store(
        QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Morvane"), QStringLiteral("Morvane"));

    const Control matrix = m_context.control(Tag::ActionMatrix, Area::ActionBox);
    store.setValue(QStringLiteral("Action"), matrix.isNull() ? 0 : matrix.selectedRow());

    setText(store, QStringLiteral("Setting"), m_context.selectedPageLabel());
    setText(store, QStringLiteral("Number"), textOf(m_context.control(Tag::NumberField, Area::CountdownPage)));
    setText(store, QStringLiteral("NumberType"), textOf(m_context.control(Tag::UnitComboBox, Area::CountdownPage)));

    // The stepper's bounds, not the minimum the user picked with it.
    const Control stepper = m_context.control(Tag::MinimumStepper, Area::DatePage);
    store.setValue(QStringLiteral("MinValue"), stepper.minValue());
    store.setValue(QStringLiteral("MaxValue"), stepper.maxValue());

    setText(store, QStringLiteral("ScriptFile"), textOf(m_context.control(Tag::ScriptPathField, Area::Window)));

    store.sync();
    if (store.status() != QSettings::NoError)
        qCWarning(lcMorvane) << "Could not write the settings to" << store.fileName();
}
