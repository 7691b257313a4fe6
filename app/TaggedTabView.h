#pragma once

#include <QTabWidget>

class TabViewDelegate;

// The tab widget of the main window's schedule pages, with an integer tag.
//
// Qt lets the user switch pages with the mouse, the wheel, the keyboard and
// assistive technologies, and has no hook to refuse a switch. This class
// asks its delegate before passing on any input that would change the page,
// and asks again after any change of page however it came about: a refused
// change is undone at once, before anything is drawn, so the other page is
// never shown, not even for a moment.
class TaggedTabView : public QTabWidget
{
    Q_OBJECT
    Q_PROPERTY(qint64 tag READ getTag WRITE setTag)

public:
    explicit TaggedTabView(QWidget *parent = nullptr);

    void setTag(qint64 tag);
    qint64 getTag() const;

    // The label of the page shown, without its mnemonic marker ("Timer");
    // empty when there is none.
    QString selectedLabel() const;

    void setDelegate(TabViewDelegate *delegate);
    TabViewDelegate *delegate() const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    bool userMayChangeTo(int index);
    void pageChanged(int index);

    qint64 m_tag = 0;
    TabViewDelegate *m_delegate = nullptr;
    int m_shownIndex = -1;
};
