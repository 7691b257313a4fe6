#pragma once

#include "controls/Control.h"

class QObject;
class QWidget;

// Finds a control by its tag, anew on every call.
//
// Tags 30000-30999 name items of an item container (a toolbar's actions, for
// instance) and are looked for among the container's actions. The other
// served bands name widgets and are looked for in the container's widget
// subtree, the container included; with no container, in the window's
// content view. Any other tag is not served and yields an empty handle.
//
// A page of a tab widget or stacked widget that is not shown does not count
// as part of the tree: its controls are found only when the page itself is
// passed as the container.
class ControlLookup
{
public:
    static bool isItemTag(qint64 tag);
    static bool isViewTag(qint64 tag);

    static Control find(qint64 tag, QObject *container, QWidget *contentView);

private:
    static QObject *findItem(qint64 tag, QObject *container);
    static QWidget *findView(qint64 tag, QWidget *root);
};
