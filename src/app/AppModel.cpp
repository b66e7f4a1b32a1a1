#include "app/AppModel.h"

#include "game/Defaults.h"
#include "game/Game.h"
#include "strip/Strip.h"

namespace pipfield {

AppModel::AppModel(Defaults& defaults, Game& game, StripSurface& stripSurface, ViewFactory makeView, QObject* parent)
    : QObject(parent), m_defaults(defaults), m_game(game), m_stripSurface(stripSurface),
      m_makeView(std::move(makeView)), m_showManageAtLaunch(!defaults.boolValue(SettingsKey::hasLaunched) ||
                                                            defaults.boolValue(SettingsKey::showManage)) {}

AppModel::~AppModel() = default;

void AppModel::registerDefaults(Defaults& defaults) {
    defaults.registerDefaults(Defaults::standardDefaults());
    const QString position = QStringLiteral("NSStatusItem Preferred Position Item-0");
    if (!defaults.contains(position)) {
        defaults.setValue(position, 330);
    }
}

Strip& AppModel::strip() {
    if (!m_strip) {
        m_strip = std::make_unique<Strip>(m_defaults, m_stripSurface, m_makeView(m_game, m_stripSurface));
    }
    return *m_strip;
}

} // namespace pipfield
