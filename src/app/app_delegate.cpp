#include "app/app_delegate.h"

#include "app/floating_panel.h"
#include "app/status_item.h"
#include "panel/content.h"

#include <QCoreApplication>
#include <QKeySequence>
#include <QPointer>
#include <QShortcut>

namespace zorvik {

namespace {

GameServices services(Announcer *announcer)
{
    GameServices result;
    result.announcer = announcer;
    return result;
}

} // namespace

AppDelegate::AppDelegate(QObject *parent)
    : QObject(parent), m_game(services(&m_announcer))
{
}

AppDelegate::~AppDelegate()
{
    // The tray icon goes first so the tray never shows an icon whose menu is gone.
    m_statusItem.reset();
    m_panel.reset();
}

void AppDelegate::launch()
{
    m_panel = std::make_unique<FloatingPanel>();

    // The content's commands reach the delegate only while it exists.
    const QPointer<AppDelegate> self(this);
    auto *content = new Content(
        m_game,
        [self] {
            if (self)
                self->hide();
        },
        [self](bool pinned) {
            if (self)
                self->pin(pinned);
        },
        m_panel.get());
    m_panel->setContent(content);

    auto *quitShortcut = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q), m_panel.get());
    connect(quitShortcut, &QShortcut::activated, this, &AppDelegate::quit);

    m_panel->centre();
    m_panel->restorePosition();
    m_panel->fitToContent();
    m_panel->setPinned(m_game.pinned());

    m_statusItem = std::make_unique<StatusItem>([self] { if (self) self->show(); },
                                                [self] { if (self) self->quit(); });
    show();
}

void AppDelegate::show()
{
    if (m_panel)
        m_panel->present();
}

void AppDelegate::hide()
{
    if (m_panel)
        m_panel->hide();
}

void AppDelegate::pin(bool pinned)
{
    if (m_panel)
        m_panel->setPinned(pinned);
}

void AppDelegate::quit()
{
    if (m_panel)
        m_panel->savePosition();
    QCoreApplication::quit();
}

} // namespace zorvik
