#include "app/AboutWindowController.h"

#include "app/Config.h"
#include "controls/Tags.h"
#include "ui_About.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QIcon>
#include <QLabel>
#include <QShortcut>
#include <QWidget>

namespace {
constexpr const char *ProductName = "Morvane";
constexpr int IconSize = 64;
const QString BuiltInIcon = QStringLiteral(":/icons/64x64/" MORVANE_APP_ID ".png");
} // namespace

AboutWindowController::AboutWindowController(QObject *parent)
    : QObject(parent)
{
}

AboutWindowController::~AboutWindowController() = default;

void AboutWindowController::showWindow(QObject *)
{
    if (!m_window)
        loadWindow();
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
}

void AboutWindowController::loadWindow()
{
    m_ui = std::make_unique<Ui::About>();
    m_window = std::make_unique<QDialog>();
    m_ui->setupUi(m_window.get());
    setATextField(m_ui->aTextField);
    // The licence's link takes the focus first and would keep Escape to
    // itself; the window closes on Escape wherever the focus is.
    auto *escape = new QShortcut(QKeySequence::Cancel, m_window.get());
    connect(escape, &QShortcut::activated, m_window.get(), &QDialog::reject);

    // Every tagged button of the window sends promptEvent(), which decides
    // what the button means.
    const auto buttons = m_window->findChildren<QAbstractButton *>();
    for (QAbstractButton *button : buttons) {
        if (button->property(Tag::Property).isValid())
            connect(button, &QAbstractButton::clicked, this, [this, button] { promptEvent(button); });
    }
    windowDidLoad();
}

void AboutWindowController::windowDidLoad()
{
    if (m_aTextField)
        m_aTextField->setText(QString::fromLatin1(ProductName));
    if (!m_ui)
        return;

    m_ui->versionLabel->setText(tr("Version %1").arg(QStringLiteral(MORVANE_VERSION)));

    // The desktop's icon theme may restyle Morvane's icon; the application's
    // window icon, or else the copy built into the binary, serves a build
    // tree and desktops without the installed icon.
    QIcon icon = QIcon::fromTheme(QStringLiteral(MORVANE_APP_ID), QApplication::windowIcon());
    if (icon.isNull() && QFile::exists(BuiltInIcon))
        icon = QIcon(BuiltInIcon);
    if (icon.isNull()) {
        m_ui->iconLabel->hide();
    } else {
        m_ui->iconLabel->setPixmap(icon.pixmap(IconSize, IconSize));
        m_window->setWindowIcon(icon);
    }
}

void AboutWindowController::promptEvent(QObject *sender)
{
    const auto *button = qobject_cast<const QAbstractButton *>(sender);
    if (!button || button->property(Tag::Property).toLongLong() != Tag::AboutCloseButton)
        return;
    if (m_window)
        m_window->close();
}

QWidget *AboutWindowController::window() const
{
    return m_window.get();
}

QLabel *AboutWindowController::aTextField() const
{
    return m_aTextField;
}

void AboutWindowController::setATextField(QLabel *field)
{
    m_aTextField = field;
}
