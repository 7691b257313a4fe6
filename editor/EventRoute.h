#pragma once

// What a control event asks for, decided from the sender's class and tag.
enum class EventRoute {
    Ignore,
    ActionSelection, // action matrix
    Quit, // Quit menu item
    Help, // Help menu item and help button
    About, // About menu item
    Run, // Run / Stop button
    Now, // now button
    ChooseScript, // choose-script button
    DateMirror, // one of the three date pickers
    MinimumChange, // minimum-seconds stepper
};
