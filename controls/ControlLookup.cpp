#include "controls/ControlLookup.h"

#include "controls/Tags.h"

#include <QAction>
#include <QQueue>
#include <QStackedWidget>
#include <QWidget>

namespace {
struct Band
{
    qint64 first;
    qint64 last;
};

// The bands of view tags, by control kind; everything between them is
// deliberately not served (menu items among them).
constexpr Band ViewBands[] = {
    {31000, 31999}, // push buttons and check boxes
    {32200, 32299}, {32400, 32499}, // radio matrices
    {32600, 32699}, // steppers
    {34000, 34999}, {35000, 35999}, // text fields
    {36000, 36999}, // captions and status texts
    {39000, 39999}, {40000, 40099}, {40100, 40199}, // combo boxes
    {40200, 40299}, // date pickers
};

bool hasTag(const QObject *object, qint64 tag)
{
    const QVariant value = object->property(Tag::Property);
    return value.isValid() && value.toLongLong() == tag;
}
} // namespace

bool ControlLookup::isItemTag(qint64 tag)
{
    return tag >= 30000 && tag <= 30999;
}

bool ControlLookup::isViewTag(qint64 tag)
{
    for (const Band &band : ViewBands) {
        if (tag >= band.first && tag <= band.last)
            return true;
    }
    return false;
}

Control ControlLookup::find(qint64 tag, QObject *container, QWidget *contentView)
{
    if (isItemTag(tag))
        return Control(findItem(tag, container));
    if (isViewTag(tag)) {
        QWidget *root = container ? qobject_cast<QWidget *>(container) : contentView;
        return Control(findView(tag, root));
    }
    return Control();
}

QObject *ControlLookup::findItem(qint64 tag, QObject *container)
{
    auto *widget = qobject_cast<QWidget *>(container);
    if (!widget)
        return nullptr;
    const auto items = widget->actions();
    for (QAction *item : items) {
        if (hasTag(item, tag))
            return item;
    }
    return nullptr;
}

QWidget *ControlLookup::findView(qint64 tag, QWidget *root)
{
    if (!root)
        return nullptr;
    // Breadth first, so the nearest view with the tag wins.
    QQueue<QWidget *> queue;
    queue.enqueue(root);
    while (!queue.isEmpty()) {
        QWidget *widget = queue.dequeue();
        if (hasTag(widget, tag))
            return widget;
        if (auto *stack = qobject_cast<QStackedWidget *>(widget)) {
            // Only the page on screen belongs to the window's tree.
            if (QWidget *current = stack->currentWidget())
                queue.enqueue(current);
            continue;
        }
        const auto children = widget->children();
        for (QObject *child : children) {
            if (child->isWidgetType())
                queue.enqueue(static_cast<QWidget *>(child));
        }
    }
    return nullptr;
}
