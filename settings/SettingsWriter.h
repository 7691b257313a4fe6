#pragma once

#include <QString>

class TaskContext;

// Writes the user's current choices in the main window to Morvane's
// settings file, ~/.config/Morvane/Morvane.conf (under XDG_CONFIG_HOME when
// that is set). The controls are the only record of the choices, so they
// are read at the moment of saving. Nothing reads the file back: every
// launch starts from the window's interface file.
class SettingsWriter
{
public:
    explicit SettingsWriter(TaskContext &context);

    // Overwrites the seven keys "Action", "Setting", "Number", "NumberType",
    // "MinValue", "MaxValue" and "ScriptFile", in that order, then writes
    // the file out. A control that is not there gives 0 for the numbers and
    // leaves a text's key out. The file is replaced whole and never waited
    // for; a failed write is logged and otherwise ignored.
    void save();

    // ~/.config/Morvane/Morvane.conf, or its place under XDG_CONFIG_HOME.
    static QString filePath();

private:
    TaskContext &m_context;
};
