#include "app/TaggedTabView.h"

#include "app/TabViewDelegate.h"
#include "controls/Control.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QTabBar>

TaggedTabView::TaggedTabView(QWidget *parent)
    : QTabWidget(parent)
{
    tabBar()->installEventFilter(this);
    // Connected after QTabWidget's own connection, so by now the stack has
    // switched; switching back happens before the event loop paints.
    connect(tabBar(), &QTabBar::currentChanged, this, &TaggedTabView::pageChanged);
}

void TaggedTabView::pageChanged(int index)
{
    if (index >= 0 && m_shownIndex >= 0 && index != m_shownIndex && !userMayChangeTo(index)) {
        tabBar()->setCurrentIndex(m_shownIndex);
        return;
    }
    m_shownIndex = index;
}

void TaggedTabView::setTag(qint64 tag)
{
    m_tag = tag;
}

qint64 TaggedTabView::getTag() const
{
    return m_tag;
}

QString TaggedTabView::selectedLabel() const
{
    // tabText() answers a null string for no page; callers compare texts and
    // the settings file keeps an empty one.
    const QString label = withoutMnemonic(tabText(currentIndex()));
    return label.isNull() ? QString::fromLatin1("") : label;
}

void TaggedTabView::setDelegate(TabViewDelegate *delegate)
{
    m_delegate = delegate;
}

TabViewDelegate *TaggedTabView::delegate() const
{
    return m_delegate;
}

bool TaggedTabView::userMayChangeTo(int index)
{
    return !m_delegate || m_delegate->tabViewShouldSelectTabViewItem(this, index);
}

bool TaggedTabView::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != tabBar())
        return QTabWidget::eventFilter(watched, event);

    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
        // The tab bar switches on press; swallow the press when refused.
        const auto *mouse = static_cast<QMouseEvent *>(event);
        const int index = tabBar()->tabAt(mouse->position().toPoint());
        if (index >= 0 && index != currentIndex() && !userMayChangeTo(index))
            return true;
        break;
    }
    case QEvent::KeyPress: {
        // Tab, Enter and Escape never move the page: swallowed, they would
        // hold the keyboard on the tab bar while a task runs.
        const auto *key = static_cast<QKeyEvent *>(event);
        const bool ctrl = key->modifiers() & Qt::ControlModifier;
        if (!ctrl
            && (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab || key->key() == Qt::Key_Return
                || key->key() == Qt::Key_Enter || key->key() == Qt::Key_Escape))
            break;
        if (!userMayChangeTo(-1))
            return true;
        break;
    }
    case QEvent::Wheel:
    case QEvent::Shortcut:
        // Arrows, Home/End, the wheel and a tab's mnemonic all move the
        // page; the target is not known before the tab bar acts.
        if (!userMayChangeTo(-1))
            return true;
        break;
    default:
        break;
    }
    return QTabWidget::eventFilter(watched, event);
}

void TaggedTabView::keyPressEvent(QKeyEvent *event)
{
    // Ctrl+Tab, Ctrl+Shift+Tab, Ctrl+PageUp and Ctrl+PageDown reach the tab
    // widget from any control on its pages.
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    const int key = event->key();
    const bool switchesPage
        = ctrl && (key == Qt::Key_Tab || key == Qt::Key_Backtab || key == Qt::Key_PageUp || key == Qt::Key_PageDown);
    if (switchesPage && !userMayChangeTo(-1)) {
        event->accept();
        return;
    }
    QTabWidget::keyPressEvent(event);
}
