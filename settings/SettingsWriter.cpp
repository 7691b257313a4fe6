#include "settings/SettingsWriter.h"

#include "controls/Log.h"
#include "controls/Tags.h"
#include "controls/TaskContext.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryFile>

#include <cstdio>

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

QString SettingsWriter::filePath()
{
    // Where QSettings keeps Morvane's user settings on Linux.
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
        + QStringLiteral("/Morvane/Morvane.conf");
}

void SettingsWriter::save()
{
    // The record is written to a new file beside the old one and renamed
    // over it. Writing Morvane.conf itself would wait, without limit, for
    // Morvane.conf.lock, and a stale or foreign lock would then hold the task
    // that is starting; a new file's lock is Morvane's alone.
    const QString path = filePath();
    QDir().mkpath(QFileInfo(path).path());
    QTemporaryFile file(path + QStringLiteral(".XXXXXX"));
    if (!file.open()) {
        qCWarning(lcMorvane) << "Could not write the settings to" << path << file.errorString();
        return;
    }
    file.close();
    QSettings store(file.fileName(), QSettings::IniFormat);

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
    if (store.status() != QSettings::NoError
        || std::rename(QFile::encodeName(file.fileName()).constData(), QFile::encodeName(path).constData()) != 0) {
        qCWarning(lcMorvane) << "Could not write the settings to" << path;
        return;
    }
    file.setAutoRemove(false);
}
