#pragma once

class QWidget;

// Asked by the main window before it closes on the user's request.
class WindowDelegate
{
public:
    virtual ~WindowDelegate() = default;
    virtual bool windowShouldClose(QWidget *window) = 0;
};
