#pragma once

#include <QDialog>
#include <QUrl>
#include <memory>

namespace Ui {
class HelpWindow;
}

// The help book inside Morvane, for a desktop with no browser or viewer to
// take it: one page at a time, its links followed in place and its anchor
// scrolled to. Made once and kept; closing only hides it.
class HelpWindow : public QDialog
{
    Q_OBJECT

public:
    explicit HelpWindow(QWidget *parent = nullptr);
    ~HelpWindow() override;

    // Shows the page at its anchor and brings the window to the front.
    void showPage(const QUrl &page);
    // The page shown, with its anchor.
    QUrl page() const;

private:
    std::unique_ptr<Ui::HelpWindow> m_ui;
};
