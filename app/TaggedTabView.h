#pragma once

#include <QTabWidget>

class TabViewDelegate;

// The tab widget of the main window's schedule pages, with an integer tag.
//
// Qt lets the user switch pages with the mouse, the wheel and the keyboard
// and has no hook to refuse a switch. This class asks its delegate before
// passing on any input that would change the page, so that a refused switch
// never shows the other page, not even for a moment. Changes made from code
// (setCurrentIndex) are not asked about.
class TaggedTabView : public QTabWidget
{
    Q_OBJECT
    Q_PROPERTY(qint64 tag READ getTag WRITE setTag)

public:
    explicit TaggedTabView(QWidget *parent = nullptr);

    void setTag(qint64 tag);
    qint64 getTag() const;

    // The label of the page shown; empty when there is none.
    QString selectedLabel() const;

    void setDelegate(TabViewDelegate *delegate);
    TabViewDelegate *delegate() const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    bool userMayChangeTo(int index);

    qint64 m_tag = 0;
    TabViewDelegate *m_delegate = nullptr;
};
