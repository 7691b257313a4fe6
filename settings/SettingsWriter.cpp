#include "settings/SettingsWriter.h"

#include "app/AppDelegate.h"
#include "app/Log.h"
#include "app/TaggedTabView.h"
#include "controls/Tags.h"

#include <QGroupBox>
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

void SettingsWriter::defaultSaveAppSetting(const AppDelegate &delegate)
{
    QSettings store(
        QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Morvane"), QStringLiteral("Morvane"));

    const Control matrix = delegate.getGUIObject(Tag::ActionMatrix, delegate.aBox1());
    store.setValue(QStringLiteral("Action"), matrix.isNull() ? 0 : matrix.selectedRow());

    const TaggedTabView *tabView = delegate.tabview1();
    setText(store, QStringLiteral("Setting"), tabView ? tabView->selectedLabel() : QString());

    QWidget *countdownPage = delegate.schedulePage(0);
    setText(store, QStringLiteral("Number"), textOf(delegate.getGUIObject(Tag::NumberField, countdownPage)));
    setText(store, QStringLiteral("NumberType"), textOf(delegate.getGUIObject(Tag::UnitComboBox, countdownPage)));

    // The stepper's bounds, not the minimum the user picked with it.
    const Control stepper = delegate.getGUIObject(Tag::MinimumStepper, delegate.schedulePage(1));
    store.setValue(QStringLiteral("MinValue"), stepper.minValue());
    store.setValue(QStringLiteral("MaxValue"), stepper.maxValue());

    setText(store, QStringLiteral("ScriptFile"), textOf(delegate.getGUIObject(Tag::ScriptPathField, nullptr)));

    store.sync();
    if (store.status() != QSettings::NoError)
        qCWarning(lcMorvane) << "Could not write the settings to" << store.fileName();
}

void SettingsWriter::defaultLoadAppSetting()
{
}
