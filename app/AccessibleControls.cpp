#include "app/AccessibleControls.h"

#include "controls/Control.h"

#include <QAbstractItemView>
#include <QAccessibleWidget>
#include <QComboBox>
#include <QGroupBox>
#include <QHash>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QTabBar>
#include <QTabWidget>

namespace {
// Marks the box's current item selected in its list. The list is selected
// only when the popup opens, and a screen reader that asks the list which
// item is chosen would otherwise find none until the box had been opened.
void selectCurrentItem(QComboBox *box)
{
    const QModelIndex current = box->model()->index(box->currentIndex(), box->modelColumn(), box->rootModelIndex());
    box->view()->selectionModel()->setCurrentIndex(current, QItemSelectionModel::ClearAndSelect);
}

// On Linux Qt names a combo box by the item it shows ("Minutes") and drops
// the name it was given, so a screen reader never says what the box is for.
// This one answers the accessible name where there is one, and the item as
// the value and as its text: the AT-SPI bridge carries no value of a combo
// box, and a client reads the item from the text or the list's selection.
// The rest is as in Qt's own combo box.
class NamedComboBox : public QAccessibleWidget, public QAccessibleTextInterface
{
public:
    explicit NamedComboBox(QComboBox *box)
        : QAccessibleWidget(box, QAccessible::ComboBox)
    {
        QObject::connect(box, &QComboBox::currentIndexChanged, box, [box] { selectCurrentItem(box); });
        selectCurrentItem(box);
    }

    void *interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface *>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Value || (t == QAccessible::Name && box()->accessibleName().isEmpty()))
            return shown();
        return QAccessibleWidget::text(t);
    }

    // The item shown, as read-only text with neither cursor nor selection.
    QString text(int start, int end) const override { return shown().mid(start, end - start); }
    int characterCount() const override { return int(shown().size()); }
    void selection(int, int *start, int *end) const override { *start = *end = 0; }
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override { }
    void removeSelection(int) override { }
    void setSelection(int, int, int) override { }
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override { }
    QRect characterRect(int) const override { return QRect(); }
    int offsetAtPoint(const QPoint &) const override { return -1; }
    void scrollToSubstring(int, int) override { }
    QString attributes(int, int *start, int *end) const override
    {
        *start = 0;
        *end = characterCount();
        return QString();
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
    QString shown() const { return box()->isEditable() ? box()->lineEdit()->text() : box()->currentText(); }
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

// One tab of a tab bar. Qt's own tab interface is private to Qt, and comes
// only with Qt's tab bar interface, which reports the bar's two scroll
// buttons as well, shown or not.
class AccessibleTab : public QAccessibleInterface, public QAccessibleActionInterface
{
public:
    AccessibleTab(QTabBar *bar, int index)
        : m_bar(bar)
        , m_index(index)
    {
    }

    void *interface_cast(QAccessible::InterfaceType type) override
    {
        return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface *>(this) : nullptr;
    }
    bool isValid() const override { return m_bar && m_index < m_bar->count(); }
    QObject *object() const override { return nullptr; }
    QAccessibleInterface *parent() const override { return QAccessible::queryAccessibleInterface(m_bar); }
    QAccessibleInterface *child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }
    QString text(QAccessible::Text t) const override
    {
        if (!isValid())
            return QString();
        if (t == QAccessible::Name)
            return withoutMnemonic(m_bar->tabText(m_index));
        return t == QAccessible::Description ? m_bar->tabToolTip(m_index) : QString();
    }
    void setText(QAccessible::Text, const QString &) override { }
    QRect rect() const override
    {
        if (!isValid())
            return QRect();
        const QRect tab = m_bar->tabRect(m_index);
        return QRect(m_bar->mapToGlobal(tab.topLeft()), tab.size());
    }
    QAccessible::Role role() const override { return QAccessible::PageTab; }
    QAccessible::State state() const override
    {
        QAccessible::State state;
        state.invalid = !isValid();
        if (state.invalid)
            return state;
        state.selectable = state.focusable = true;
        state.selected = m_bar->currentIndex() == m_index;
        state.focused = state.selected && m_bar->hasFocus();
        state.disabled = !m_bar->isTabEnabled(m_index);
        state.invisible = !m_bar->isVisible() || !m_bar->isTabVisible(m_index);
        return state;
    }

    QStringList actionNames() const override { return {pressAction()}; }
    // The same call a click makes, so the page guard sees it.
    void doAction(const QString &action) override
    {
        if (isValid() && action == pressAction())
            m_bar->setCurrentIndex(m_index);
    }
    QStringList keyBindingsForAction(const QString &) const override { return {}; }

private:
    QPointer<QTabBar> m_bar;
    int m_index;
};

// A tab bar that reports its tabs and nothing else.
class TabsOnly : public QAccessibleWidget
{
public:
    explicit TabsOnly(QTabBar *bar)
        : QAccessibleWidget(bar, QAccessible::PageTabList)
    {
        // A screen reader keeps the states it was told and asks again only
        // when told of a change: both the tab left and the tab chosen say so.
        QObject::connect(
            bar, &QTabBar::currentChanged, &m_connections, [this, previous = bar->currentIndex()](int index) mutable {
                for (int tab : {previous, index}) {
                    if (QAccessibleInterface *changed = child(tab)) {
                        QAccessibleEvent event(changed, QAccessible::Selection);
                        QAccessible::updateAccessibility(&event);
                    }
                }
                previous = index;
            });
    }
    ~TabsOnly() override
    {
        for (QAccessible::Id id : std::as_const(m_tabs))
            QAccessible::deleteAccessibleInterface(id);
    }

    int childCount() const override { return bar()->count(); }
    // Made once a tab and kept, so an assistive technology meets the same
    // tab each time it asks.
    QAccessibleInterface *child(int index) const override
    {
        if (index < 0 || index >= bar()->count())
            return nullptr;
        if (const QAccessible::Id id = m_tabs.value(index))
            return QAccessible::accessibleInterface(id);
        auto *tab = new AccessibleTab(bar(), index);
        m_tabs.insert(index, QAccessible::registerAccessibleInterface(tab));
        return tab;
    }
    int indexOfChild(const QAccessibleInterface *child) const override
    {
        for (int i = 0; child && i < childCount(); ++i) {
            if (this->child(i) == child)
                return i;
        }
        return -1;
    }

private:
    QTabBar *bar() const { return static_cast<QTabBar *>(widget()); }

    mutable QHash<int, QAccessible::Id> m_tabs;
    // Ends the connection to the bar with this interface.
    QObject m_connections;
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
    if (auto *bar = qobject_cast<QTabBar *>(object))
        return new TabsOnly(bar);
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
