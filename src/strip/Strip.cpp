#include "strip/Strip.h"

#include "game/Defaults.h"

namespace pipfield {

Strip::Strip(Defaults& defaults, StripSurface& surface, StripSurface::Content content, QObject* parent)
    : QObject(parent), m_defaults(defaults), m_surface(surface), m_view(content.widget) {
    m_isShown = m_defaults.boolValue(SettingsKey::stripShown);
    m_clickThrough = m_defaults.boolValue(SettingsKey::clickThrough);
    m_hideInFullScreen = m_defaults.boolValue(SettingsKey::hideInFullScreen);
    m_screenID = m_defaults.integer(SettingsKey::screenID);

    m_surface.setContent(std::move(content));
    m_surface.setClickThrough(m_clickThrough);
    m_surface.setAboveFullScreen(!m_hideInFullScreen);
    connect(&m_surface, &StripSurface::outputsChanged, this, &Strip::place);
    place();
    m_surface.setShown(m_isShown);
}

void Strip::setSessionLocked(bool locked) {
    if (locked == m_sessionLocked) {
        return;
    }
    m_sessionLocked = locked;
    m_surface.setShown(m_isShown && !locked);
}

Strip::~Strip() = default;

void Strip::setClickThrough(bool on) {
    const bool changed = on != m_clickThrough;
    m_clickThrough = on;
    m_defaults.setValue(SettingsKey::clickThrough, on);
    m_surface.setClickThrough(on);
    if (changed) {
        Q_EMIT clickThroughChanged(on);
    }
}

void Strip::setHideInFullScreen(bool on) {
    const bool changed = on != m_hideInFullScreen;
    m_hideInFullScreen = on;
    m_defaults.setValue(SettingsKey::hideInFullScreen, on);
    m_surface.setAboveFullScreen(!on);
    if (changed) {
        Q_EMIT hideInFullScreenChanged(on);
    }
}

void Strip::setShown(bool shown) {
    const bool changed = shown != m_isShown;
    m_isShown = shown;
    m_defaults.setValue(SettingsKey::stripShown, shown);
    m_surface.setShown(shown && !m_sessionLocked);
    if (changed) {
        Q_EMIT isShownChanged(shown);
    }
}

void Strip::setScreenID(qint64 id) {
    const bool changed = id != m_screenID;
    m_screenID = id;
    m_defaults.setValue(SettingsKey::screenID, id);
    place();
    if (changed) {
        Q_EMIT screenIDChanged(id);
    }
}

std::vector<Strip::ScreenChoice> Strip::screens() const {
    return m_surface.screens();
}

void Strip::place() {
    m_surface.place(m_screenID);
}

} // namespace pipfield
