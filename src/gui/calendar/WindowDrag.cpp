#include "gui/calendar/WindowDrag.h"

#include "core/program/AppContext.h"
#include "core/settings/SettingValues.h"
#include "core/system/Twips.h"
#include "gui/calendar/frmFrame.h"

#include <QApplication>
#include <QWidget>
#include <QWindow>

WindowDrag::WindowDrag(AppContext &ctx, QWidget &window) : m_ctx(ctx), m_window(window) {
    m_rest.setSingleShot(true);
    m_rest.setInterval(400);
    QObject::connect(&m_rest, &QTimer::timeout, [this] {
        m_systemMove = false;
        storePosition();
    });
}

void WindowDrag::storePosition() {
    m_ctx.settings.change(SettingsGroup::Move, [this](Settings &record) {
        record.Frame_Y = SingleText(ToTwipsY(m_window.y()));
        record.Frame_X = SingleText(ToTwipsX(m_window.x()));
    });
}

void WindowDrag::moved() {
    if (m_systemMove) m_rest.start();
}

WindowDrag::~WindowDrag() {
    if (m_active) QApplication::restoreOverrideCursor();
}

void WindowDrag::start(QPoint global, const QRect &frame) {
    if (m_active) return;
    QWindow *native = m_window.windowHandle();
    if (!m_ctx.settings.on(&Settings::Position) && native && native->startSystemMove()) {
        m_systemMove = true;
        m_rest.start(); // stored also when the press ends without a move
        return;
    }
    QApplication::setOverrideCursor(Qt::SizeAllCursor);
    m_origin = global;
    SettingsModel &s = m_ctx.settings;
    s.Frame_Y = SingleText(ToTwipsY(m_window.y()));
    s.Frame_X = SingleText(ToTwipsX(m_window.x()));
    m_outline = std::make_unique<frmFrame>(QRect(m_window.pos() + frame.topLeft(), frame.size()),
                                           s.color(&Settings::Frame_Color), s.on(&Settings::Frame_Conner));
    m_outline->hide();
    m_active = true;
}

void WindowDrag::follow(QPoint global) {
    if (!m_active || !m_outline) return;
    m_outline->move(m_window.pos() + (global - m_origin));
    m_outline->show();
}

void WindowDrag::end(QPoint global) {
    if (!m_active) return;
    m_active = false;
    SettingsModel &s = m_ctx.settings;
    const QPoint delta = global - m_origin;
    if (s.on(&Settings::Position)) {
        if (m_outline) m_outline->move(m_window.pos());
    } else if (!delta.isNull()) {
        m_window.move(m_window.pos() + delta);
    }
    m_outline.reset();
    storePosition();
    QApplication::restoreOverrideCursor();
}
