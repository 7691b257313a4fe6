#pragma once

#include "controls/Control.h"

#include <QCoreApplication>
#include <QString>
#include <QtGlobal>

// The tag plan: every control of the main window and of the About window
// carries one of these numbers as its integer property "tag", and the code
// finds controls by them (see ControlLookup).
namespace Tag {
constexpr qint64 HelpButton = 31002;
constexpr qint64 AboutCloseButton = 31018;
constexpr qint64 RunButton = 31031;
constexpr qint64 NowButton = 31032;
constexpr qint64 ChooseScriptButton = 31033;
constexpr qint64 DimAfterScriptCheckBox = 31034;
constexpr qint64 SpareCheckBox = 31035;
constexpr qint64 ActionMatrix = 32400;
constexpr qint64 AboutMenuItem = 32500;
constexpr qint64 HelpMenuItem = 32501;
constexpr qint64 QuitMenuItem = 32502;
constexpr qint64 MinimumStepper = 32600;
constexpr qint64 NumberField = 35000;
constexpr qint64 MinimumSecondsText = 35001;
constexpr qint64 ScriptPathField = 35002;
constexpr qint64 CountdownCaption = 36000;
constexpr qint64 TimeLeftCaption = 36001;
constexpr qint64 TimeLeftText = 36002;
constexpr qint64 ScriptCaption = 36005;
constexpr qint64 ReadinessText = 36006;
constexpr qint64 UnitComboBox = 40100;
constexpr qint64 DatePickerA = 40200;
constexpr qint64 DatePickerB = 40201;
constexpr qint64 DatePickerC = 40202;

// Name of the dynamic property that holds a control's tag.
constexpr const char *Property = "tag";
} // namespace Tag

// The texts that are the task state: the Run button's title, as it reads
// and as it is set with its mnemonic, in the user's language. The idle one
// is the main window's own text for the button, so the window and the code
// take it from the same catalogue entry.
namespace RunTitle {
inline QString idleText()
{
    return QCoreApplication::translate("MainWindow", "&Run");
}
inline QString runningText()
{
    return QCoreApplication::translate("MainWindow", "St&op");
}
inline QString idle()
{
    return withoutMnemonic(idleText());
}
inline QString running()
{
    return withoutMnemonic(runningText());
}
} // namespace RunTitle
