#pragma once

#include "editor/EventRoute.h"

class QObject;

// The routing table of the main window's control events.
//
// The sender's class is tested first, in a fixed order, with base classes
// matching their subclasses; the first class that matches decides, and
// only its tags are then looked at. Anything else is ignored.
class EventRouter
{
public:
    static EventRoute route(const QObject *sender);
};
