#include "app/AccessibleControls.h"

#include <QAbstractItemView>
#include <QAccessibleWidget>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QMenu>
#include <QTabBar>
#include <QTabWidget>

namespace {
// On Linux Qt names a combo box by the item it shows ("Minutes") and drops
// the name it was given, so a screen reader never says what the box is for.
// This one answers the accessible name where there is one, and the item as
// the value; the rest is as in Qt's own combo box.
class NamedComboBox : public QAccessibleWidget
{
public:
    explicit NamedComboBox(QComboBox *box)
        : QAccessibleWidget(box, QAccessible::ComboBox)
    {
    }

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Value || (t == QAccessible::Name && box()->accessibleName().isEmpty()))
            return box()->isEditable() ? box()->lineEdit()->text() : box()->currentText();
        return QAccessibleWidget::text(t);
    }
    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        s.expandable = true;
        s.expanded = box()->view()->isVisible();
        s.editable = box()->isEditable();
        return s;
    }
    // The list of items, and the line edit of an editable box.
    int childCount() const override { return box()->isEditable() ? 2 : 1; }
    QAccessibleInterface *child(int index) const override
    {
        QWidget *children[] = {box()->view(), box()->lineEdit()};
        return index >= 0 && index < childCount() ? QAccessible::queryAccessibleInterface(children[index]) : nullptr;
    }
    int indexOfChild(const QAccessibleInterface *child) const override
    {
        for (int i = 0; child && i < childCount(); ++i) {
            if (this->child(i)->object() == child->object())
                return i;
        }
        return -1;
    }
    QStringList actionNames() const override { return {showMenuAction(), pressAction()}; }
    void doAction(const QString &action) override
    {
        if (action != showMenuAction() && action != pressAction())
            return QAccessibleWidget::doAction(action);
        if (box()->view()->isVisible())
            box()->hidePopup();
        else
            box()->showPopup();
    }

private:
    QComboBox *box() const { return static_cast<QComboBox *>(widget()); }
};

// A container as Qt presents it, less the children it never shows: Qt lists
// every child widget, hidden or not, and a screen reader walking the window
// would come upon controls that are never there.
class PrunedContainer : public QAccessibleWidget
{
public:
    PrunedContainer(QWidget *widget, QAccessible::Role role)
        : QAccessibleWidget(widget, role)
    {
    }

    int childCount() const override { return shownChildren().size(); }
    QAccessibleInterface *child(int index) const override
    {
        return QAccessible::queryAccessibleInterface(shownChildren().value(index));
    }
    int indexOfChild(const QAccessibleInterface *child) const override
    {
        return child ? shownChildren().indexOf(qobject_cast<QWidget *>(child->object())) : -1;
    }

private:
    QList<QWidget *> shownChildren() const
    {
        QList<QWidget *> shown;
        for (QObject *object : widget()->children()) {
            auto *w = qobject_cast<QWidget *>(object);
            if (w && !w->isWindow() && !qobject_cast<QMenu *>(w) && !AccessibleControls::isLeftOut(w))
                shown << w;
        }
        return shown;
    }
};

QAccessibleInterface *morvaneInterface(const QString &, QObject *object)
{
    // Asked at the most derived class first, so a class of Qt's never wins.
    // Widgets send accessibility events while they are being built, and the
    // interface made for the first one is kept: the choice may depend only
    // on the class, or on what the .ui file sets on a child before its parent
    // sends any (the marker of a left-out control).
    if (auto *box = qobject_cast<QComboBox *>(object))
        return new NamedComboBox(box);
    if (auto *tabs = qobject_cast<QTabWidget *>(object))
        return new PrunedContainer(tabs, QAccessible::Client);
    auto *widget = qobject_cast<QWidget *>(object);
    const QObjectList children = widget ? widget->children() : QObjectList();
    for (QObject *child : children) {
        if (child->isWidgetType() && child->property(AccessibleControls::LeftOut).toBool())
            return new PrunedContainer(
                widget, qobject_cast<QGroupBox *>(widget) ? QAccessible::Grouping : QAccessible::Client);
    }
    return nullptr;
}
} // namespace

void AccessibleControls::install()
{
    static const bool installed = (QAccessible::installFactory(morvaneInterface), true);
    Q_UNUSED(installed);
}

bool AccessibleControls::isLeftOut(const QWidget *widget)
{
    if (widget->property(LeftOut).toBool())
        return true;
    const auto *tabs = qobject_cast<const QTabWidget *>(widget->parentWidget());
    return tabs && widget == tabs->tabBar() && tabs->tabBarAutoHide() && tabs->count() < 2;
}
