#pragma once

class QWidget;

// What Morvane tells assistive technologies beyond Qt's own accessibility:
// a combo box is named by its accessible name, not by the item it shows, and
// controls the window never shows (among them a tab bar's scroll buttons)
// are left out of the tree.
namespace AccessibleControls {
// Name of the boolean dynamic property that keeps a widget the window never
// shows out of the tree its parent reports.
constexpr const char *LeftOut = "leftOutOfAccessibility";

// Installs Morvane's interfaces with QAccessible; once per process is enough,
// and later calls do nothing.
void install();

// True for a widget that no assistive technology should be offered: marked
// with LeftOut, or the bar of a tab widget that hides it for a single page.
bool isLeftOut(const QWidget *widget);
} // namespace AccessibleControls
