#pragma once

class AppDelegate;

// Writes the user's current choices in the main window to Morvane's
// settings file. Nothing reads them back.
class SettingsWriter
{
public:
    static void defaultSaveAppSetting(const AppDelegate &delegate);
    static void defaultLoadAppSetting();
};
